#include "sim/sweep_number_text.h"

#include <cmath>
#include <cstdio>

namespace hvxsim {

namespace {

constexpr double largest_written = 9.9999e99;
constexpr double smallest_written = 1e-99;

}  // namespace

std::string measured_field_text(double value)
{
    if (std::isnan(value) || std::fabs(value) < smallest_written)
        value = 0.0;
    else if (std::fabs(value) > largest_written)
        value = std::copysign(largest_written, value);
    char text[32];
    std::snprintf(text, sizeof text, "%.4E", value);
    std::string field(text);
    // 9.99995E+99 and above round up to a three-digit exponent.
    if (field.size() > (value < 0 ? 11u : 10u))
        return value < 0 ? "-9.9999E+99" : "9.9999E+99";
    return field;
}

std::string measured_line(std::span<const double> values)
{
    std::string line;
    for (const double value : values) {
        if (!line.empty())
            line += ',';
        line += measured_field_text(value);
    }
    return line;
}

}  // namespace hvxsim
