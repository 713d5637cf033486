// The checks run in the order the user reads the dialog; the first failure
// ends the check with its message(s).
#include "fra/sweep_settings_validate.h"

#include <cstdio>

#include "config/config_transfer.h"
#include "graph/number_format.h"

namespace {

inline constexpr int MOST_REPEATED_SWEEPS = 99;
inline constexpr std::int64_t MS_PER_MINUTE = 60000;

inline constexpr const char* SWEEP_COUNT_CAPTION = "Error: Sweep count";
inline constexpr const char* INVALID_CAPTION = "Invalid";
inline constexpr const char* DATABASE_CAPTION = "Corvexa2";

s_settings_message too_few_sweeps()
{
    return {"Repeating tests must have more than one sweep", SWEEP_COUNT_CAPTION, prompt_icon::none};
}

s_settings_message too_many_sweeps()
{
    char text[96];
    std::snprintf(text, sizeof text, "Repeating tests must have less than %d sweeps", MOST_REPEATED_SWEEPS);
    return {text, SWEEP_COUNT_CAPTION, prompt_icon::none};
}

s_settings_message invalid_total_time()
{
    return {"Invalid Total Test Time", "Error", prompt_icon::warning};
}

s_settings_message invalid(const std::string& text)
{
    return {text, INVALID_CAPTION, prompt_icon::information};
}

// A range message whose pattern takes the two limits as format_eng texts.
s_settings_message range_message(const char* pattern, const s_value_limits& limits)
{
    const std::string low = format_eng_text(limits.min);
    const std::string high = format_eng_text(limits.max);
    char text[160];
    std::snprintf(text, sizeof text, pattern, low.c_str(), high.c_str());
    return invalid(text);
}

int leading_int(const std::string& text)
{
    return config_leading_int(text.c_str());
}

// A typed number within limits. parse_eng reads what it cannot make sense
// of as 0 (or drops the digits before a stray character), which every
// positive lower limit refuses.
bool read_eng_within(const std::string& text, const s_value_limits& limits, double& value)
{
    value = parse_eng(text.c_str());
    return within_limits(value, limits);
}

// The repeat fields as a usable series: both typed, both a positive whole
// number (a negative count or interval gives no series either).
bool read_repeat_fields(const s_sweep_settings_texts& texts, s_sweep_settings_accepted& out)
{
    if (texts.tests_to_run.empty() || texts.interval_minutes.empty()) {
        return false;
    }
    const int count = leading_int(texts.tests_to_run);
    const int minutes = leading_int(texts.interval_minutes);
    if (count <= 0 || minutes <= 0) {
        return false;
    }
    out.repeat_values_read = true;
    out.repeat_count = count;
    out.repeat_interval_ms = repeat_interval_ms_of(minutes);
    return true;
}

// FRA: the sweep count of a repeating series, then the repeat fields
// whatever the sweep type (they stay filled, hidden, for other types).
bool check_fra_repeat(const s_sweep_settings_texts& texts, s_sweep_settings_accepted& out,
                      std::vector<s_settings_message>& messages)
{
    if (texts.sweep_type == SWEEP_REPEATING) {
        const int count = texts.tests_to_run.empty() ? -1 : leading_int(texts.tests_to_run);
        if (count <= 1) {
            messages.push_back(too_few_sweeps());
            return false;
        }
        if (count > MOST_REPEATED_SWEEPS) {
            messages.push_back(too_many_sweeps());
            return false;
        }
    }
    if (!read_repeat_fields(texts, out)) {
        messages.push_back(invalid_total_time());
        return false;
    }
    return true;
}

// LCR: only a repeating series reads the repeat fields. Every failure ends
// with "Invalid Total Test Time", also after a sweep-count message.
bool check_lcr_repeat(const s_sweep_settings_texts& texts, s_sweep_settings_accepted& out,
                      std::vector<s_settings_message>& messages)
{
    if (texts.sweep_type != SWEEP_REPEATING) {
        return true;
    }
    if (read_repeat_fields(texts, out)) {
        if (out.repeat_count <= 1) {
            messages.push_back(too_few_sweeps());
        } else if (out.repeat_count > MOST_REPEATED_SWEEPS) {
            messages.push_back(too_many_sweeps());
        } else {
            return true;
        }
    }
    messages.push_back(invalid_total_time());
    return false;
}

bool check_sweep_values(test_details_variant variant, const s_sweep_settings_texts& texts,
                        const s_sweep_limits& limits, s_sweep_settings_accepted& out,
                        std::vector<s_settings_message>& messages)
{
    out.steps = leading_int(texts.steps);
    if (!within_limits(out.steps, limits.steps)) {
        char text[96];
        std::snprintf(text, sizeof text, "The sweep must be between %d and %d steps",
                      config_limit_as_int(limits.steps.min), config_limit_as_int(limits.steps.max));
        messages.push_back(invalid(text));
        return false;
    }
    if (!read_eng_within(texts.start_frequency, limits.start_frequency, out.start_frequency)) {
        messages.push_back(
            range_message("The start frequency must be between %sHz and %shz", limits.start_frequency));
        return false;
    }
    if (!read_eng_within(texts.end_frequency, limits.end_frequency, out.end_frequency)) {
        messages.push_back(range_message("The end frequency must be between %sHz and %shz", limits.end_frequency));
        return false;
    }
    if (texts.sweep_type == SWEEP_REAL_TIME) {
        return true;
    }
    out.speed_settings = true;
    out.speed_option = texts.speed_option;
    out.minimum_cycles = leading_int(texts.minimum_cycles);
    if (!within_limits(out.minimum_cycles, limits.minimum_cycles)) {
        messages.push_back(range_message("The minimum cycles must be between %s and %s", limits.minimum_cycles));
        return false;
    }
    if (limits.window_option >= 0 && texts.speed_option == limits.window_option) {
        if (!read_eng_within(texts.window_time, limits.window_time, out.window_time)) {
            messages.push_back(range_message(variant == test_details_variant::fra
                                                 ? "The speed must be between %ss and %ss"
                                                 : "The speec must be between %ss and %ss",
                                             limits.window_time));
            return false;
        }
        out.window_time_set = true;
    }
    return true;
}

bool check_database_fields(const s_sweep_settings_texts& texts, s_sweep_settings_accepted& out,
                           std::vector<s_settings_message>& messages)
{
    if (!texts.save_to_database) {
        return true;
    }
    const char* problem = nullptr;
    if (texts.session_number <= 0) {
        problem = "You need to select a Session";
    } else if (texts.test_name.empty()) {
        problem = "You need to enter a Test Name";
    } else if (texts.project_name.empty()) {
        problem = "You need to enter a Project Name";
    }
    if (problem != nullptr) {
        messages.push_back({problem, DATABASE_CAPTION, prompt_icon::information});
        return false;
    }
    out.save_to_database = true;
    out.session_number = texts.session_number;
    out.project_name = texts.project_name;
    out.test_name = texts.test_name;
    out.description = texts.description;
    return true;
}

}  // namespace

std::int64_t repeat_interval_ms_of(int minutes)
{
    return static_cast<std::int64_t>(minutes) * MS_PER_MINUTE;
}

s_sweep_settings_verdict check_sweep_settings(test_details_variant variant, const s_sweep_settings_texts& texts,
                                              const s_sweep_limits& limits)
{
    s_sweep_settings_verdict verdict;
    s_sweep_settings_accepted& out = verdict.values;
    out.sweep_type = texts.sweep_type;
    out.keep_output_on = texts.keep_output_on;
    out.set_start_frequency = texts.set_start_frequency;

    const bool fra = variant == test_details_variant::fra;
    const bool repeat_ok = fra ? check_fra_repeat(texts, out, verdict.messages)
                               : check_lcr_repeat(texts, out, verdict.messages);
    if (!repeat_ok || !check_sweep_values(variant, texts, limits, out, verdict.messages)) {
        return verdict;
    }
    if (fra) {
        if (!check_database_fields(texts, out, verdict.messages)) {
            return verdict;
        }
    } else {
        out.cell9a_setup = texts.cell9a_setup;
    }
    verdict.accepted = true;
    return verdict;
}
