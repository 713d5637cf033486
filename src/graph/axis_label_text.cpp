#include "graph/axis_label_text.h"

#include <cmath>

#include "graph/exponent_text.h"
#include "graph/fixed_text.h"

namespace {

constexpr double small_span = 1;

}  // namespace

std::string linear_vertical_label(double value, double span)
{
    return std::fabs(span) < small_span ? exp_text(value, 1) : fixed_text(value, 1);
}

std::string linear_horizontal_label(double value, double span)
{
    return fixed_text(value, std::fabs(span) < small_span ? 4 : 2);
}
