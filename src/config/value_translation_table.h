// Value translation between the program's numbering of a choice (the index
// into its option list, held in the model) and the instrument's, described
// as data. Both directions are pure functions of the parameter, the value,
// the operation mode and the connection's current option: nothing here looks
// at or changes any other parameter.
//
// Two kinds of rules:
// - value rules, one list per direction: the first rule of the parameter
//   whose range holds the value gives the result (value + amount, or amount);
// - mode rules, one row per parameter used for both directions: an offset
//   that depends on the mode, and in some modes one more step for values at
//   or beyond a threshold (an instrument choice the program does not offer
//   in that mode).
// A parameter without a rule is not translated.
#pragma once

#include <climits>
#include <initializer_list>
#include <span>

#include "config/instrument_config.h"

enum class translation_when {
    always,
    option_not_zero,  // only when the connection's current option is not 0
};

struct s_value_rule {
    int id;
    translation_when when;
    int low;     // the values the rule applies to, inclusive
    int high;
    bool add;    // true: value + amount; false: amount
    int amount;
};

inline constexpr int TRANSLATION_MODES = 8;  // modes with an offset of their own (0-7)

struct s_mode_rule {
    int id;
    int offset_by_mode[TRANSLATION_MODES];  // instrument value = program value + offset
    int offset_other_modes;
    unsigned step_modes;  // bit m set: in mode m one more step past step_from
    int step_from;        // compared with the value after the offset, on either side
};

struct s_translation_tables {
    std::span<const s_value_rule> read;   // instrument value -> program value
    std::span<const s_value_rule> write;  // program value -> instrument value
    std::span<const s_mode_rule> by_mode;
};

int translate_to_program(const s_translation_tables& tables, int id, int instrument_value,
                         const s_translation_context& context);
int translate_to_instrument(const s_translation_tables& tables, int id, int program_value,
                            const s_translation_context& context);
bool translation_uses_mode(const s_translation_tables& tables, int id);

// Builders that keep one rule on one line.
namespace translation_rows {

// Exactly the value from becomes to.
constexpr s_value_rule map(int id, int from, int to)
{
    return {id, translation_when::always, from, from, false, to};
}
// As map, only when the connection's current option is not 0.
constexpr s_value_rule map_with_option(int id, int from, int to)
{
    return {id, translation_when::option_not_zero, from, from, false, to};
}
// Every value from low up becomes value + amount.
constexpr s_value_rule shift_from(int id, int low, int amount)
{
    return {id, translation_when::always, low, INT_MAX, true, amount};
}
// Every value from low to high becomes to.
constexpr s_value_rule map_range(int id, int low, int high, int to)
{
    return {id, translation_when::always, low, high, false, to};
}
// The bit of each listed mode.
constexpr unsigned modes(std::initializer_list<int> list)
{
    unsigned bits = 0;
    for (int m : list) {
        bits |= 1u << m;
    }
    return bits;
}

}  // namespace translation_rows
