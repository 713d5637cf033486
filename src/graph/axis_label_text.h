// The texts of axis labels.
#pragma once

#include <string>

// A linear vertical axis (8 divisions): "%.1E" when the axis spans less than
// 1 (|span| < 1), "%0.1lf" otherwise.
std::string linear_vertical_label(double value, double span);

// A linear horizontal axis: "%0.4lf" when |span| < 1, "%0.2lf" otherwise.
std::string linear_horizontal_label(double value, double span);

// A value on a logarithmic axis: format_eng when its decade exponent
// (floor(log10(v) + 1e-13)) is negative, otherwise the compact label of its
// whole part ("4k7"). Values too large for a whole number take format_eng.
std::string log_axis_label(double value);
