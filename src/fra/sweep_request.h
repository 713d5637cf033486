// What the "Test Details" dialogs hand back to the view that runs the sweep:
// the sweep request (one for the FRA view, one shared by the LCR-type views,
// kept between dialogs) and the repeat settings of a repeating series (each
// view has its own).
#pragma once

#include <cstdint>

// The sweep types in the order of the dialog's combo box entries.
enum sweep_type : int {
    SWEEP_SINGLE = 0,
    SWEEP_REPEATING = 1,
    SWEEP_REAL_TIME = 2,
};
inline constexpr int SWEEP_TYPE_COUNT = 3;
inline constexpr const char* sweep_type_names[SWEEP_TYPE_COUNT] = {
    "Single Sweep",
    "Repeating Sweep",
    "Real Time Sweep",
};

struct s_sweep_request {
    // After a real-time sweep: leave the generator output on ("Keep Output
    // On"), and then also set it back to the start frequency.
    bool keep_output_on = false;
    bool set_start_frequency = false;
    double start_frequency = 0;  // Hz, as accepted by the dialog
    double end_frequency = 0;    // Hz
    int sweep_type = SWEEP_SINGLE;
};

struct s_repeat_settings {
    int repeat_count = 0;               // "Tests to run"
    std::int64_t repeat_interval = 0;   // milliseconds: "Interval (mins)" x 60000
    bool repeating = false;             // the last dialog ended with a repeating sweep
};
