// The limits the sweep settings are checked against, read from the
// configuration model each time the user confirms a dialog: a window opened
// later may have changed options and limits since the dialog opened.
#pragma once

#include "config/instrument_config.h"

// Configuration parameters the sweep settings edit.
enum sweep_settings_param : int {
    SWEEP_PARAM_WINDOW_TIME = 12,   // real, seconds
    SWEEP_PARAM_SPEED = 13,         // choice
    SWEEP_PARAM_STEPS = 18,         // integer choice without option names
    SWEEP_PARAM_START = 19,         // real, Hz
    SWEEP_PARAM_END = 20,           // real, Hz
    SWEEP_PARAM_MIN_CYCLES = 151,   // real, taken as an integer
};

// A parameter's minimum and maximum; CONFIG_NO_LIMIT leaves that side open.
struct s_value_limits {
    double min = CONFIG_NO_LIMIT;
    double max = CONFIG_NO_LIMIT;
};

struct s_sweep_limits {
    s_value_limits steps;
    s_value_limits start_frequency;
    s_value_limits end_frequency;
    s_value_limits minimum_cycles;
    s_value_limits window_time;
    // The speed option whose window time is shown and checked; -1 when the
    // model offers none.
    int window_option = -1;
};

// The name of the speed option that uses the window time.
inline constexpr const char* SWEEP_WINDOW_OPTION_NAME = "Window";

s_sweep_limits sweep_limits_of(const instrument_config& config);

// The index of the "Window" speed option in the model's list: 4 for the
// family A model (used for every type but 9), 5 for the family C model.
// Taken from the model itself, so it follows the model in use rather than
// the instrument type.
int window_option_of(const instrument_config& config);

// True when value lies within the limits (each side tested only when set).
// NaN never does.
bool within_limits(double value, const s_value_limits& limits);
