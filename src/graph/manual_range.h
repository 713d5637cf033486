// Ranges typed by the user.
//
// The test graph's manual range entry checks a typed frequency or gain range
// and either stores it or tells the user why not (leaving the range as it
// was). The impedance graphs' value entry accepts each typed range or padding
// value within the limits of its kind.
#pragma once

#include <cstdint>

#include "app/user_prompt.h"
#include "graph/graph_settings.h"
#include "graph/test_graph.h"

// The test graph's frequency range (Hz): both values above 0 and the maximum
// above the minimum, then each value limited to 4e7 Hz, then a span below
// 0.001 Hz widened to minimum + 0.001. Returns true when the range was stored.
// The range mode is left to the caller.
bool enter_test_frequency_range(s_test_graph_state& state, double minimum, double maximum, user_prompt& prompt);

// The test graph's gain range (dB): the maximum above the minimum, then each
// value limited to -200 to 200 dB. Returns true when the range was stored.
bool enter_test_gain_range(s_test_graph_state& state, double minimum, double maximum, user_prompt& prompt);

// What a value typed into the impedance graphs' value entry sets.
enum class manual_limit_kind {
    value_axis_linear,
    value_axis_log,
    horizontal_linear,
    horizontal_log,
    fixed_padding,
    percent_padding,
};

// The accepted values of one kind, both ends included.
struct s_manual_limit {
    manual_limit_kind kind;
    double low;
    double high;
};

const s_manual_limit& manual_limit_of(manual_limit_kind kind);

// True when the value lies within the kind's limits (a NaN never does).
bool within_manual_limit(manual_limit_kind kind, double value);

// The range limits of plot A or B, and of the horizontal axis, by their scale.
manual_limit_kind plot_range_limit(const s_graph_settings& settings, int plot);
manual_limit_kind horizontal_range_limit(const s_graph_settings& settings);

// The percentage padding presets, in menu order.
inline constexpr std::int32_t PAD_PERCENT_PRESETS[] = {5, 10, 20};
