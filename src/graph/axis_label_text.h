// The texts of linear axis labels. (Logarithmic axes are labelled by
// frequency_label of frequency_axis.h, or by format_eng on value axes.)
#pragma once

#include <string>

// A linear vertical axis (8 divisions): "%.1E" when the axis spans less than
// 1 (|span| < 1), "%0.1lf" otherwise.
std::string linear_vertical_label(double value, double span);

// A linear horizontal axis: "%0.4lf" when |span| < 1, "%0.2lf" otherwise.
std::string linear_horizontal_label(double value, double span);
