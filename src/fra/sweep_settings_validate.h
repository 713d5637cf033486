// Checking what the user typed in a "Test Details" dialog. The check is a
// pure function of the typed texts and the limits the configuration model
// holds: it returns either every accepted value, ready to store, or the
// messages to show (in order) while the dialog stays open with the user's
// texts. Nothing is stored by the check itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "fra/sweep_request.h"
#include "fra/sweep_settings_limits.h"

// The FRA variant also collects where the sweep is stored in the test
// database; the LCR variant serves the LCR, EIS and Piezo views.
enum class test_details_variant { fra, lcr };

// The dialog's fields as the user left them.
struct s_sweep_settings_texts {
    int sweep_type = SWEEP_SINGLE;
    std::string tests_to_run;       // "Tests to run:"
    std::string interval_minutes;   // "Interval (mins):"
    std::string steps;              // "Sweep Steps:"
    std::string start_frequency;    // "Start Frequency:"
    std::string end_frequency;      // "End Frequency:"
    std::string minimum_cycles;     // "Minimum Cycles:"
    int speed_option = 0;           // the speed combo's selection
    std::string window_time;        // the window time beside "Speed:"
    bool keep_output_on = false;    // "Keep Output On" (else "Turn Output Off")
    bool set_start_frequency = false;
    // FRA only.
    bool save_to_database = false;
    std::string session_name;         // the session combo's text
    std::int64_t session_number = 0;  // the session it names, 0 when none (looked up by the caller)
    std::string project_name;
    std::string test_name;
    std::string description;
    // LCR only: "Setup for CELL9A?".
    bool cell9a_setup = false;
};

// Everything a confirmed dialog stores.
struct s_sweep_settings_accepted {
    int sweep_type = SWEEP_SINGLE;
    // False when the repeat fields were not read (LCR, not repeating): the
    // held repeat interval then stays as it is.
    bool repeat_values_read = false;
    int repeat_count = 0;
    std::int64_t repeat_interval_ms = 0;
    int steps = 0;
    double start_frequency = 0;
    double end_frequency = 0;
    // Minimum cycles and speed are not used by a real-time sweep.
    bool speed_settings = false;
    int minimum_cycles = 0;
    int speed_option = 0;
    // The window time, read only while the speed shows the "Window" option.
    bool window_time_set = false;
    double window_time = 0;
    bool keep_output_on = false;
    bool set_start_frequency = false;
    bool save_to_database = false;
    std::int64_t session_number = 0;
    std::string project_name;
    std::string test_name;
    std::string description;
    bool cell9a_setup = false;
};

// One message box: text and caption exactly as shown.
struct s_settings_message {
    std::string text;
    std::string caption;
    prompt_icon icon = prompt_icon::none;
};

struct s_sweep_settings_verdict {
    bool accepted = false;
    s_sweep_settings_accepted values;          // meaningful when accepted
    std::vector<s_settings_message> messages;  // shown in order when refused
};

s_sweep_settings_verdict check_sweep_settings(test_details_variant variant, const s_sweep_settings_texts& texts,
                                              const s_sweep_limits& limits);

// Milliseconds of a repeat interval typed in minutes, in 64 bits.
std::int64_t repeat_interval_ms_of(int minutes);
