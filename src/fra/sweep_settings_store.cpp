#include "fra/sweep_settings_store.h"

#include <cstdio>
#include <cstring>

#include "fra/sweep_settings_limits.h"
#include "graph/bounded_text.h"
#include "graph/number_format.h"

namespace {

// The model's exponent form of a number, as set_value_double writes it
// into a real parameter.
std::string model_text_of(double value)
{
    char text[CONFIG_VALUE_SIZE];
    format_exp_compact(text, sizeof text, value, 4);
    return text;
}

void store_int_if_different(instrument_config& config, int id, int value)
{
    if (config.get_value_int(id) != value) {
        config.set_value_int(id, value);
    }
}

void store_double_if_different(instrument_config& config, int id, double value)
{
    if (config.get_value_string(id) != model_text_of(value)) {
        config.set_value_double(id, value);
    }
}

// A real parameter that holds a whole number as "%d" text.
void store_int_text_if_different(instrument_config& config, int id, int value)
{
    if (config.get_value_string(id) != std::to_string(value)) {
        config.set_value_int(id, value);
    }
}

template <std::size_t N>
void copy_field(char (&field)[N], const std::string& text)
{
    copy_bounded(field, N, text, N - 1);
}

}  // namespace

void store_sweep_settings(instrument_config& config, const s_sweep_settings_accepted& values)
{
    store_int_if_different(config, SWEEP_PARAM_STEPS, values.steps);
    store_double_if_different(config, SWEEP_PARAM_START, values.start_frequency);
    store_double_if_different(config, SWEEP_PARAM_END, values.end_frequency);
    if (!values.speed_settings) {
        return;
    }
    store_int_text_if_different(config, SWEEP_PARAM_MIN_CYCLES, values.minimum_cycles);
    store_int_if_different(config, SWEEP_PARAM_SPEED, values.speed_option);
    if (values.window_time_set) {
        store_double_if_different(config, SWEEP_PARAM_WINDOW_TIME, values.window_time);
    }
}

void apply_sweep_settings(const s_sweep_settings_accepted& values, s_sweep_request& request,
                          s_repeat_settings& repeat)
{
    request.keep_output_on = values.keep_output_on;
    request.set_start_frequency = values.set_start_frequency;
    request.start_frequency = values.start_frequency;
    request.end_frequency = values.end_frequency;
    request.sweep_type = values.sweep_type;
    if (values.repeat_values_read) {
        repeat.repeat_count = values.repeat_count;
        repeat.repeat_interval = values.repeat_interval_ms;
    }
    repeat.repeating = values.sweep_type == SWEEP_REPEATING;
    if (!repeat.repeating) {
        repeat.repeat_count = 0;
    }
}

s_db_test pending_test_of(const s_sweep_settings_accepted& values)
{
    s_db_test test;
    test.session_number = values.session_number;
    copy_field(test.name, values.test_name);
    copy_field(test.winding, values.project_name);
    copy_field(test.description, values.description);
    return test;
}
