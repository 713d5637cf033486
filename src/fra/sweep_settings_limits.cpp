#include "fra/sweep_settings_limits.h"

namespace {

s_value_limits limits_of(const instrument_config& config, int id)
{
    const s_config_param* record = config.record(id);
    if (record == nullptr) {
        return {};
    }
    return {record->min, record->max};
}

}  // namespace

s_sweep_limits sweep_limits_of(const instrument_config& config)
{
    s_sweep_limits limits;
    limits.steps = limits_of(config, SWEEP_PARAM_STEPS);
    limits.start_frequency = limits_of(config, SWEEP_PARAM_START);
    limits.end_frequency = limits_of(config, SWEEP_PARAM_END);
    limits.minimum_cycles = limits_of(config, SWEEP_PARAM_MIN_CYCLES);
    limits.window_time = limits_of(config, SWEEP_PARAM_WINDOW_TIME);
    limits.window_option = window_option_of(config);
    return limits;
}

int window_option_of(const instrument_config& config)
{
    const s_config_param* speed = config.record(SWEEP_PARAM_SPEED);
    if (speed == nullptr) {
        return -1;
    }
    for (std::size_t i = 0; i < speed->options.size(); ++i) {
        if (speed->options[i] == SWEEP_WINDOW_OPTION_NAME) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool within_limits(double value, const s_value_limits& limits)
{
    if (value != value) {
        return false;
    }
    if (limits.min != CONFIG_NO_LIMIT && value < limits.min) {
        return false;
    }
    if (limits.max != CONFIG_NO_LIMIT && value > limits.max) {
        return false;
    }
    return true;
}
