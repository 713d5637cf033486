#include "fra/sweep_settings_form.h"

#include <cinttypes>
#include <cstdio>

#include "fra/sweep_settings_limits.h"

namespace {

// A real parameter's text, or the fallback when it holds none.
std::string text_or(const instrument_config& config, int id, const char* fallback)
{
    const s_config_param* record = config.record(id);
    if (record == nullptr || config_value_not_set(*record)) {
        return fallback;
    }
    std::string text = config.get_value_string(id);
    return text.empty() ? fallback : text;
}

}  // namespace

s_sweep_settings_texts sweep_settings_opening_texts(const instrument_config& config, test_details_variant variant,
                                                    const s_sweep_request& request)
{
    s_sweep_settings_texts texts;
    texts.sweep_type = request.sweep_type;
    texts.keep_output_on = request.keep_output_on;
    texts.set_start_frequency = request.set_start_frequency;
    texts.interval_minutes = "5";
    texts.tests_to_run = "3";

    const int steps = config.get_value_int(SWEEP_PARAM_STEPS);
    texts.steps = steps == 0 ? "2000" : std::to_string(steps);
    texts.start_frequency = text_or(config, SWEEP_PARAM_START, "1.0000E1");
    texts.end_frequency =
        text_or(config, SWEEP_PARAM_END, variant == test_details_variant::fra ? "1.0000E6" : "2.0000E7");
    texts.minimum_cycles = text_or(config, SWEEP_PARAM_MIN_CYCLES, "1");
    texts.speed_option = config.get_value_int(SWEEP_PARAM_SPEED);
    texts.window_time = text_or(config, SWEEP_PARAM_WINDOW_TIME, "1.0000E0");
    return texts;
}

s_test_details_visibility test_details_visibility(const s_sweep_settings_texts& texts, int window_option)
{
    const bool real_time = texts.sweep_type == SWEEP_REAL_TIME;
    s_test_details_visibility shown;
    shown.repeat_section = texts.sweep_type == SWEEP_REPEATING;
    shown.after_sweep = real_time;
    shown.set_start_enabled = texts.keep_output_on;
    shown.cycles_and_speed = !real_time;
    shown.window_time = !real_time && window_option >= 0 && texts.speed_option == window_option;
    shown.database_fields_enabled = texts.save_to_database;
    return shown;
}

std::string total_test_time_text(const std::string& tests_to_run, const std::string& interval_minutes)
{
    const std::int64_t count = config_leading_int(tests_to_run.c_str());
    const std::int64_t minutes = config_leading_int(interval_minutes.c_str());
    if (tests_to_run.empty() || count <= 1 || minutes <= 0) {
        return "Total Test Time: Unknown";
    }
    const std::int64_t total = (count - 1) * minutes;
    char text[96];
    std::snprintf(text, sizeof text, "Total Test Time: %" PRId64 " days, %02d hours, %02d minutes", total / 1440,
                  static_cast<int>(total / 60 % 24), static_cast<int>(total % 60));
    return text;
}

std::string database_name_text(const std::string& test_name)
{
    return "Database Name: \"" + test_name + "\"";
}
