// Value translations of the family C model. The instrument's operation mode
// 4 is not offered (program modes from 4 up are instrument modes from 5 up);
// parameters 92 and 122 fold several instrument choices into one; the three
// inputs skip choices in some operation modes.
#include "config/hvx_cfg_ck.h"
#include "config/value_translation_table.h"

namespace {

using namespace translation_rows;

constexpr s_value_rule read_rules[] = {
    shift_from(1, 5, -1),
    map_range(92, 2, INT_MAX, 1),
    map_range(122, 1, INT_MAX, 1),
};

constexpr s_value_rule write_rules[] = {
    shift_from(1, 4, 1),
    map_range(122, INT_MIN, -1, 4), map_range(122, 1, INT_MAX, 4),
};

// Every input is numbered one below the instrument's choice. In modes 2, 3
// and 5 input 24 also has a gap: the instrument's choice just before its
// program choice 1 is not offered. Inputs 25 and 26 skip one more choice in
// modes 2 and 3, and have that gap in mode 5.
constexpr s_mode_rule mode_rules[] = {
    // id  offset in modes 0-7         other  step modes          step from
    {24, {1, 1, 1, 1, 1, 1, 1, 1}, 1, modes({2, 3, 5}), 2},
    {25, {1, 1, 2, 2, 1, 1, 1, 1}, 1, modes({5}), 2},
    {26, {1, 1, 2, 2, 1, 1, 1, 1}, 1, modes({5}), 2},
};

}  // namespace

const s_translation_tables& hvx_cfg_ck_translations()
{
    static const s_translation_tables tables{read_rules, write_rules, mode_rules};
    return tables;
}
