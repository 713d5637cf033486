#include "config/value_translation_table.h"

#include <climits>

namespace {

// value + amount held to the int range: stored and replied values are
// checked against limits elsewhere, but an unchecked extreme must not overflow.
int add_saturated(int value, int amount)
{
    const long long sum = static_cast<long long>(value) + amount;
    if (sum > INT_MAX) {
        return INT_MAX;
    }
    if (sum < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(sum);
}

const s_value_rule* matching_rule(std::span<const s_value_rule> rules, int id, int value,
                                  const s_translation_context& context)
{
    for (const s_value_rule& rule : rules) {
        if (rule.id != id || value < rule.low || value > rule.high) {
            continue;
        }
        if (rule.when == translation_when::option_not_zero && context.current_option == 0) {
            continue;
        }
        return &rule;
    }
    return nullptr;
}

const s_mode_rule* mode_rule_of(std::span<const s_mode_rule> rules, int id)
{
    for (const s_mode_rule& rule : rules) {
        if (rule.id == id) {
            return &rule;
        }
    }
    return nullptr;
}

int mode_offset(const s_mode_rule& rule, int mode)
{
    return mode >= 0 && mode < TRANSLATION_MODES ? rule.offset_by_mode[mode] : rule.offset_other_modes;
}

bool steps_in_mode(const s_mode_rule& rule, int mode)
{
    return mode >= 0 && mode < TRANSLATION_MODES && (rule.step_modes & (1u << mode)) != 0;
}

}  // namespace

int translate_to_program(const s_translation_tables& tables, int id, int instrument_value,
                         const s_translation_context& context)
{
    if (const s_value_rule* rule = matching_rule(tables.read, id, instrument_value, context)) {
        return rule->add ? add_saturated(instrument_value, rule->amount) : rule->amount;
    }
    if (const s_mode_rule* rule = mode_rule_of(tables.by_mode, id)) {
        int value = add_saturated(instrument_value, -mode_offset(*rule, context.mode));
        if (steps_in_mode(*rule, context.mode) && value >= rule->step_from) {
            value = add_saturated(value, -1);
        }
        return value;
    }
    return instrument_value;
}

int translate_to_instrument(const s_translation_tables& tables, int id, int program_value,
                            const s_translation_context& context)
{
    if (const s_value_rule* rule = matching_rule(tables.write, id, program_value, context)) {
        return rule->add ? add_saturated(program_value, rule->amount) : rule->amount;
    }
    if (const s_mode_rule* rule = mode_rule_of(tables.by_mode, id)) {
        int value = add_saturated(program_value, mode_offset(*rule, context.mode));
        if (steps_in_mode(*rule, context.mode) && value >= rule->step_from) {
            value = add_saturated(value, 1);
        }
        return value;
    }
    return program_value;
}

bool translation_uses_mode(const s_translation_tables& tables, int id)
{
    return mode_rule_of(tables.by_mode, id) != nullptr;
}
