#include "graph/log_axis_ticks.h"

#include <algorithm>
#include <cmath>

#include "graph/decimal_scale.h"

namespace {

constexpr double decade_tolerance = 1e-13;
constexpr int most_multiples = 10;
// The exponents a double can take, with room: a decade beyond these is never
// walked.
constexpr int lowest_exponent = -330;
constexpr int highest_exponent = 310;

bool positive_finite(double v)
{
    return std::isfinite(v) && v > 0;
}

// At least `low` and at most `high`, within the tolerance of the decade test,
// so a range that starts or ends on a power of ten keeps that line.
bool within(double v, double low, double high)
{
    const double log_v = std::log10(v);
    return log_v >= std::log10(low) - decade_tolerance && log_v <= std::log10(high) + decade_tolerance;
}

void add_decades(double low, double high, std::vector<s_log_tick>& ticks)
{
    const int first = log_decade_of(low);
    const int last = std::min(log_decade_of(high), first + LOG_AXIS_MOST_DECADES);
    for (int d = first; d <= last; ++d) {
        for (int k = 1; k <= 9; ++k) {
            const double v = scale_by_power_of_ten(k, d);
            if (!positive_finite(v) || !within(v, low, high)) {
                continue;
            }
            const bool decade = k == 1;
            ticks.push_back({v, decade ? log_tick_kind::decade : log_tick_kind::sub_decade, decade});
        }
    }
}

void add_multiples(double low, double high, std::vector<s_log_tick>& ticks)
{
    const int d = log_decade_of(low);
    const double step = scale_by_power_of_ten(1, d);
    const double first = std::floor(low / step) + 1;
    for (int m = 0; m < most_multiples; ++m) {
        const double v = scale_by_power_of_ten(first + m, d);
        if (!(v > low) || !(v < high)) {
            break;
        }
        ticks.push_back({v, log_tick_kind::multiple, true});
    }
    if (ticks.empty()) {
        ticks.push_back({low, log_tick_kind::end_label, true});
        ticks.push_back({high, log_tick_kind::end_label, true});
    }
}

}  // namespace

int log_decade_of(double value)
{
    const double d = std::floor(std::log10(value) + decade_tolerance);
    return static_cast<int>(std::clamp(d, static_cast<double>(lowest_exponent), static_cast<double>(highest_exponent)));
}

std::vector<s_log_tick> log_axis_ticks(double low, double high)
{
    std::vector<s_log_tick> ticks;
    if (!positive_finite(low) || !positive_finite(high) || low == high) {
        return ticks;
    }
    if (high < low) {
        std::swap(low, high);
    }
    if (std::log10(high / low) >= 1 - decade_tolerance) {
        add_decades(low, high, ticks);
    } else {
        add_multiples(low, high, ticks);
    }
    return ticks;
}
