#include "fra/sweep_rows.h"

#include <cmath>
#include <cstdio>

#include "fra/lcr_layout.h"
#include "graph/exponent_text.h"
#include "graph/non_finite_text.h"

namespace {

constexpr int frequency_decimals = 4;
constexpr int value_precision = 5;
constexpr int two_channel_values = 6;
constexpr int realtime_lcr_values = 8;

// "%.4lf"; infinities and NaN are spelled as every formatter of the program
// spells them, so both builds write the same bytes.
void append_frequency(std::string& row, double frequency)
{
    if (!std::isfinite(frequency)) {
        row += non_finite_text(frequency, false);
        return;
    }
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.*f", frequency_decimals, frequency);
    if (length >= 0 && static_cast<std::size_t>(length) < sizeof text) {
        row += text;
        return;
    }
    std::string wide(static_cast<std::size_t>(length) + 1, '\0');  // up to 309 digits
    std::snprintf(wide.data(), wide.size(), "%.*f", frequency_decimals, frequency);
    wide.pop_back();
    row += wide;
}

// index, frequency (values[0]) and values 1 to count - 1.
std::string row_of_values(int index, const double* values, int count)
{
    std::string row = std::to_string(index);
    row += '\t';
    append_frequency(row, values[0]);
    for (int i = 1; i < count; ++i) {
        row += '\t';
        row += exp_text(values[i], value_precision);
    }
    return row;
}

}  // namespace

std::string fra_sweep_row(int index, const s_fra_result& point, bool three_channel)
{
    double values[FRA_RESULT_VALUES];
    for (int i = 0; i < FRA_RESULT_VALUES; ++i) {
        values[i] = point.*fra_result_fields[i];
    }
    return row_of_values(index, values, three_channel ? FRA_RESULT_VALUES : two_channel_values);
}

std::string lcr_sweep_row(int index, const s_lcr_result& point, int layout)
{
    return row_of_values(index, point.value, lcr_values_for_layout(layout));
}

std::string lcr_realtime_row(int index, const s_lcr_result& point)
{
    return row_of_values(index, point.value, realtime_lcr_values);
}
