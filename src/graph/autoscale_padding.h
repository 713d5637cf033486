// The steps every automatic axis range shares: the search for the data's
// extremes from fixed start values, the widening of a flat span, centring on
// zero or snapping to zero, and the padding of each end.
//
// The start values are deliberately not "infinite": a search starting from
// a = 1e5 and b = -5e4 keeps 1e5 as the minimum when every value lies above
// it, and that is the range the graph shows.
#pragma once

#include <cmath>
#include <cstdint>

#include "graph/log_axis_limits.h"

// The two ends found for an axis: low is the minimum (a), high the maximum (b).
struct s_axis_ends {
    double low;
    double high;
};

// The padding fields of one axis.
struct s_axis_padding {
    std::int32_t pad_type;   // PAD_BOTH, PAD_FIRST_END, PAD_SECOND_END or PAD_NONE
    std::int32_t pad_value;  // a percentage of the span when pad_percent, else axis units
    bool pad_percent;
};

// Which end pad type 1 names: on a value axis it is the top (the maximum),
// on the horizontal axis the left (the minimum). Pad type 2 names the other.
enum class pad_orientation { vertical, horizontal };

// LOG_AXIS_LOWEST is the lowest end a logarithmic axis is given, and the
// reference a logarithmic value axis maps from when its minimum is 0 or below.

// A span narrower than this counts as flat and is widened by AXIS_FLAT_WIDENING.
inline constexpr double AXIS_FLAT_SPAN = 1e-13;
inline constexpr double AXIS_FLAT_WIDENING = 10;

// Lowers ends.low and raises ends.high with value_of(i) for i in 0..count-1.
// A value that is not finite takes no part (it could never be drawn).
// Returns false when no value took part: the ends are then left untouched.
template <class ValueOf>
bool search_extremes(int count, const ValueOf& value_of, s_axis_ends& ends)
{
    bool found = false;
    for (int i = 0; i < count; ++i) {
        const double v = value_of(i);
        if (!std::isfinite(v)) {
            continue;
        }
        if (v < ends.low) {
            ends.low = v;
        }
        if (v > ends.high) {
            ends.high = v;
        }
        found = true;
    }
    return found;
}

// A flat span (high - low below AXIS_FLAT_SPAN) is widened: the maximum is
// raised by AXIS_FLAT_WIDENING, and the minimum lowered by it too when
// both_ends is set.
void widen_flat_span(s_axis_ends& ends, bool both_ends);

// Centre 0 and nearest 0 (range modes RANGE_CENTRE_0 and RANGE_NEAREST_0),
// then the padding of the ends the pad type names; an end that is exactly 0
// is never padded. Other range modes only pad.
void centre_and_pad(s_axis_ends& ends, std::int32_t range, const s_axis_padding& padding,
                    pad_orientation orientation);

// Stores the ends into an axis' minimum and maximum, exchanged when reversed.
void store_axis_ends(const s_axis_ends& ends, bool reversed, double& min, double& max);
