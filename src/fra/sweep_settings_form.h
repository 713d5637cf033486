// What a "Test Details" dialog shows: the texts it opens with (from the
// configuration model and the request), which controls are shown or enabled
// for the current choices, the total test time of a repeating series and the
// "Database Name" line. Pure functions, so the Win32 dialog only copies
// their results into its controls.
#pragma once

#include <string>

#include "config/instrument_config.h"
#include "fra/sweep_request.h"
#include "fra/sweep_settings_validate.h"

inline constexpr int INTERVAL_TEXT_LIMIT = 5;      // characters of "Interval (mins):"
inline constexpr int TESTS_TO_RUN_TEXT_LIMIT = 3;  // characters of "Tests to run:"

// The fields as the dialog opens: the repeat fields at "5" minutes and "3"
// tests, the after-sweep choices and sweep type from the request, and the
// sweep parameters as the model holds them (with the stated fallbacks for
// unset values).
s_sweep_settings_texts sweep_settings_opening_texts(const instrument_config& config, test_details_variant variant,
                                                    const s_sweep_request& request);

struct s_test_details_visibility {
    bool repeat_section = false;         // group, interval, test count, total time
    bool after_sweep = false;            // "After Sweep:", its radios and the check box
    bool set_start_enabled = false;      // "And set Frequency to Start Frequency"
    bool cycles_and_speed = false;       // "Minimum Cycles:", "Speed:" and their fields
    bool window_time = false;            // the window time edit
    bool database_fields_enabled = false;  // FRA: session, new session, project, test, description
};

s_test_details_visibility test_details_visibility(const s_sweep_settings_texts& texts, int window_option);

// "Total Test Time: %d days, %02d hours, %02d minutes" for n tests every i
// minutes (n sweeps span n - 1 intervals), or "Total Test Time: Unknown"
// when the count is empty or not above 1, or the interval is not positive.
std::string total_test_time_text(const std::string& tests_to_run, const std::string& interval_minutes);

// "Database Name: \"%s\"" with the test name.
std::string database_name_text(const std::string& test_name);
