// One axis of a graph as it is drawn: its two ends, its length in pixels and
// the pixels per unit (per decade on a logarithmic axis), or nothing when
// the axis cannot be drawn at all. Every graph asks here before it draws a
// grid line, a label or a curve on an axis, so a range that is empty, not
// finite or impossible on a logarithmic scale draws no axis rather than
// coordinates without meaning.
#pragma once

#include <optional>

#include "graph/log_axis_limits.h"

struct s_drawn_axis {
    bool logarithmic = false;
    double min = 0;  // the end at the axis' origin (left or bottom)
    double max = 0;  // the other end; below min on a reversed axis
    int length = 0;  // pixels
    double pixels_per_unit = 0;  // negative on a reversed axis

    // Offset in pixels of a value from the origin; absent when the value
    // cannot be shown (not finite, or 0 or below on a logarithmic axis).
    std::optional<double> offset_of(double value) const;
    // The smaller and the larger end.
    double low() const { return min < max ? min : max; }
    double high() const { return min < max ? max : min; }
};

// A linear axis from min to max over length pixels. Absent when an end is
// not finite, the ends are equal, or length is not positive.
std::optional<s_drawn_axis> linear_drawn_axis(double min, double max, int length);

// A logarithmic axis: a minimum of 0 or below is drawn as lowest (1e-6
// unless the graph has its own). Absent when an end is not finite, the
// maximum is 0 or below, the ends are equal, or length is not positive.
std::optional<s_drawn_axis> log_drawn_axis(double min, double max, int length, double lowest = LOG_AXIS_LOWEST);

std::optional<s_drawn_axis> drawn_axis(bool logarithmic, double min, double max, int length);
