#include "graph/frequency_axis.h"

#include <cmath>

#include "graph/graph_mapping.h"
#include "graph/number_format.h"

namespace {

constexpr double LOG_MINIMUM_FLOOR = 1e-6;
constexpr double DECADE_NUDGE = 1e-13;
constexpr int MAX_DECADES = 40;
constexpr int MAX_SUB_DECADE_LINES = 10;
constexpr int MAX_LINEAR_STEPS = 100;
// Values this close (relative) to a range end count as on it.
constexpr double END_TOLERANCE = 1e-12;

double decade_of(double value)
{
    return std::floor(std::log10(value) + DECADE_NUDGE);
}

// The tick at value, or nullptr when it falls outside the plot.
s_frequency_tick* add_tick(std::vector<s_frequency_tick>& ticks, const s_frequency_scale& scale, int width,
                           double value, bool major, bool labelled, bool drawn_line = true)
{
    const std::optional<double> offset = scale.offset(value);
    const std::optional<int> x = offset ? pixel_of_offset(*offset) : std::nullopt;
    if (!x || *x < 0 || *x > width) {
        return nullptr;
    }
    s_frequency_tick tick;
    tick.value = value;
    tick.x = *x;
    tick.line = drawn_line && *x > 0 && *x < width;
    tick.major = major;
    if (labelled) {
        tick.label = frequency_label(value);
    }
    return &ticks.emplace_back(tick);
}

void log_ticks(const s_frequency_scale& scale, int width, std::vector<s_frequency_tick>& ticks)
{
    const double low = scale.minimum * (1 - END_TOLERANCE);
    const double high = scale.maximum * (1 + END_TOLERANCE);
    if (std::log10(scale.maximum / scale.minimum) < 1 - DECADE_NUDGE) {
        // Less than a decade: multiples of the minimum's decade above it.
        const double step = std::pow(10.0, decade_of(scale.minimum));
        const double first = std::floor(scale.minimum / step + 1e-9) + 1;
        int drawn = 0;
        for (int i = 0; i < MAX_SUB_DECADE_LINES; ++i) {
            const double value = (first + i) * step;
            if (value >= scale.maximum * (1 - END_TOLERANCE)) {
                break;
            }
            add_tick(ticks, scale, width, value, true, true);
            ++drawn;
        }
        if (drawn == 0) {
            add_tick(ticks, scale, width, scale.minimum, true, true, false);
            add_tick(ticks, scale, width, scale.maximum, true, true, false);
        }
        return;
    }
    const double first_decade = decade_of(scale.minimum);
    const double last_decade = std::fmin(decade_of(scale.maximum), first_decade + MAX_DECADES - 1);
    for (double d = first_decade; d <= last_decade; ++d) {
        const double power = std::pow(10.0, d);
        for (int k = 1; k <= 9; ++k) {
            const double value = k * power;
            if (value < low) {
                continue;
            }
            if (value > high) {
                break;
            }
            add_tick(ticks, scale, width, value, k == 1, k == 1);
        }
    }
}

void linear_ticks(const s_frequency_scale& scale, int width, std::vector<s_frequency_tick>& ticks)
{
    const double span = scale.maximum - scale.minimum;
    double step = std::pow(10.0, decade_of(span));
    if (span / step < 4 - 1e-9) {
        step /= 6;
    }
    for (int k = 0; k < MAX_LINEAR_STEPS; ++k) {
        const double value = scale.minimum + k * step;
        if (value > scale.maximum + step * 1e-9) {
            break;
        }
        if (s_frequency_tick* tick = add_tick(ticks, scale, width, value, false, false)) {
            // Steps below 1 Hz are written in full, never cut to whole hertz.
            tick->label = step < 1 ? format_eng_text(value) : frequency_label(value);
        }
    }
}

}  // namespace

std::optional<double> s_frequency_scale::offset(double frequency) const
{
    if (!std::isfinite(frequency)) {
        return std::nullopt;
    }
    if (log) {
        if (frequency <= 0) {
            return std::nullopt;
        }
        return std::log10(frequency / minimum) * pixels_per_unit;
    }
    return (frequency - minimum) * pixels_per_unit;
}

std::optional<s_frequency_scale> frequency_scale(double minimum, double maximum, bool log, int width)
{
    s_frequency_scale scale;
    scale.log = log;
    scale.minimum = log && minimum <= 0 ? LOG_MINIMUM_FLOOR : minimum;
    scale.maximum = maximum;
    const double span = log ? std::log10(scale.maximum / scale.minimum) : scale.maximum - scale.minimum;
    if (width <= 0 || !std::isfinite(span) || !(span > 0) || !std::isfinite(scale.minimum)) {
        return std::nullopt;
    }
    scale.pixels_per_unit = width / span;
    if (!std::isfinite(scale.pixels_per_unit) || !(scale.pixels_per_unit > 0)) {
        return std::nullopt;
    }
    return scale;
}

std::vector<s_frequency_tick> frequency_ticks(const s_frequency_scale& scale, int width)
{
    std::vector<s_frequency_tick> ticks;
    if (scale.log) {
        log_ticks(scale, width, ticks);
    } else {
        linear_ticks(scale, width, ticks);
    }
    return ticks;
}

std::string frequency_label(double value)
{
    if (!std::isfinite(value) || value >= 9e18) {
        return format_eng_text(value);
    }
    if (value > 0 && decade_of(value) < 0) {
        return format_eng_text(value);
    }
    char text[32];
    format_eng_label(static_cast<long long>(value + DECADE_NUDGE), text, sizeof text);
    return text;
}

int log_decade(double value)
{
    // Held within the exponents a double can have, so the integer is defined
    // for every positive value.
    return static_cast<int>(std::fmax(-400.0, std::fmin(400.0, decade_of(value))));
}
