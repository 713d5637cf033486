// Widening, centring and padding of an automatic axis range.
#include "graph/autoscale_padding.h"

#include "graph/graph_settings.h"

void widen_flat_span(s_axis_ends& ends, bool both_ends)
{
    if (ends.high - ends.low < AXIS_FLAT_SPAN) {
        if (both_ends) {
            ends.low -= AXIS_FLAT_WIDENING;
        }
        ends.high += AXIS_FLAT_WIDENING;
    }
}

namespace {

void apply_zero_range(s_axis_ends& ends, std::int32_t range)
{
    if (range == RANGE_CENTRE_0) {
        if (std::fabs(ends.high) > std::fabs(ends.low)) {
            ends.low = -ends.high;
        } else {
            ends.high = -ends.low;
        }
    } else if (range == RANGE_NEAREST_0) {
        if (std::fabs(ends.low) < std::fabs(ends.high)) {
            ends.low = 0;
        } else {
            ends.high = 0;
        }
    }
}

double padding_amount(const s_axis_ends& ends, const s_axis_padding& padding)
{
    if (padding.pad_percent) {
        return std::fabs(ends.high - ends.low) * padding.pad_value / 100.0;
    }
    return padding.pad_value;
}

}  // namespace

void centre_and_pad(s_axis_ends& ends, std::int32_t range, const s_axis_padding& padding,
                    pad_orientation orientation)
{
    apply_zero_range(ends, range);
    const double d = padding_amount(ends, padding);
    const std::int32_t max_end = orientation == pad_orientation::vertical ? PAD_FIRST_END : PAD_SECOND_END;
    const std::int32_t min_end = orientation == pad_orientation::vertical ? PAD_SECOND_END : PAD_FIRST_END;
    const bool pad_max = padding.pad_type == PAD_BOTH || padding.pad_type == max_end;
    const bool pad_min = padding.pad_type == PAD_BOTH || padding.pad_type == min_end;
    if (pad_max && ends.high != 0) {
        ends.high += d;
    }
    if (pad_min && ends.low != 0) {
        ends.low -= d;
    }
}

void store_axis_ends(const s_axis_ends& ends, bool reversed, double& min, double& max)
{
    min = reversed ? ends.high : ends.low;
    max = reversed ? ends.low : ends.high;
}
