// Value translations of the family A and B model. The instrument numbers
// some choices with gaps (options the program does not offer); the inputs
// 24 and 25 lose their first choices in some operation modes.
#include "config/hvx_cfg_ak.h"
#include "config/value_translation_table.h"

namespace {

using namespace translation_rows;

constexpr s_value_rule read_rules[] = {
    map(122, 4, 3), map(122, 6, 4),
    map(130, 6, 4), map(130, 7, 5),
    map(131, 7, 4),
    map(133, 7, 4),
    map_with_option(51, 2, 1),
};

constexpr s_value_rule write_rules[] = {
    map(122, 3, 4), map(122, 4, 6),
    map(130, 4, 6), map(130, 5, 7),
    map(131, 4, 7),
    map(133, 4, 7),
    map_with_option(51, 1, 2),
};

// Modes 0 (RMS voltmeter) and 5 (harmonic analyser) offer every input
// choice; the others skip the first, and modes 2 and 3 skip two on input 25.
constexpr s_mode_rule mode_rules[] = {
    // id  offset in modes 0-7         other  step modes  step from
    {24, {0, 1, 1, 1, 1, 0, 1, 1}, 1, 0, 0},
    {25, {0, 1, 2, 2, 1, 0, 1, 1}, 1, 0, 0},
};

}  // namespace

const s_translation_tables& hvx_cfg_ak_translations()
{
    static const s_translation_tables tables{read_rules, write_rules, mode_rules};
    return tables;
}
