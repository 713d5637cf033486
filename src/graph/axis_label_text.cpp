#include "graph/axis_label_text.h"

#include <cmath>

#include "graph/exponent_text.h"
#include "graph/fixed_text.h"
#include "graph/log_axis_ticks.h"
#include "graph/number_format.h"

namespace {

constexpr double small_span = 1;
constexpr double label_nudge = 1e-13;
// Below 2^63, so the whole part fits the compact label's integer.
constexpr double largest_whole_label = 9e18;

}  // namespace

std::string linear_vertical_label(double value, double span)
{
    return std::fabs(span) < small_span ? exp_text(value, 1) : fixed_text(value, 1);
}

std::string linear_horizontal_label(double value, double span)
{
    return fixed_text(value, std::fabs(span) < small_span ? 4 : 2);
}

std::string log_axis_label(double value)
{
    if (!(value > 0) || !std::isfinite(value) || log_decade_of(value) < 0 || value >= largest_whole_label) {
        return format_eng_text(value);
    }
    char text[32];
    format_eng_label(static_cast<long long>(value + label_nudge), text, sizeof text);
    return text;
}
