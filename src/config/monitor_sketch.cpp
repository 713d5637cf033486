// The generator monitor's waveform sketch: shapes by name and output levels.
#include "config/monitor_sketch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <optional>

namespace {

constexpr double PERIODS = 2.0;
constexpr double PULSE_DUTY = 0.2;
constexpr double TWO_PI = 6.283185307179586;
// Keeps the sketch within reach of the pixel grid: enough for any control.
constexpr int MAX_LEVELS = 4096;

struct shape_row {
    const char* name;  // as monitor_waveform_name names it, without the padding
    monitor_shape shape;
};
constexpr shape_row shape_rows[] = {
    {"Sine", monitor_shape::sine},           {"Square", monitor_shape::square},
    {"Triangle", monitor_shape::triangle},   {"Sawtooth", monitor_shape::rising_saw},
    {"Trail Saw", monitor_shape::rising_saw}, {"Lead Saw", monitor_shape::falling_saw},
    {"Pulse", monitor_shape::pulse},         {"White noise", monitor_shape::noise},
};

// One period's value from -1 to 1 at phase (0 to below 1) of a shape.
double shape_at(monitor_shape shape, double phase)
{
    switch (shape) {
    case monitor_shape::square:
        return phase < 0.5 ? 1.0 : -1.0;
    case monitor_shape::triangle:
        if (phase < 0.25) {
            return 4 * phase;
        }
        return phase < 0.75 ? 2 - 4 * phase : 4 * phase - 4;
    case monitor_shape::rising_saw:
        return 2 * phase - 1;
    case monitor_shape::falling_saw:
        return 1 - 2 * phase;
    case monitor_shape::pulse:
        return phase < PULSE_DUTY ? 1.0 : -1.0;
    case monitor_shape::sine:
    case monitor_shape::noise:
        break;
    }
    return std::sin(TWO_PI * phase);
}

// A fixed run of values from -1 to 1 (a linear congruential generator with
// a fixed seed).
class noise_run {
public:
    double next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<double>(state_ >> 8) / static_cast<double>(1u << 23) - 1.0;
    }

private:
    std::uint32_t state_ = 12345u;
};

}  // namespace

monitor_shape monitor_shape_of(const char* waveform_name)
{
    if (waveform_name == nullptr) {
        return monitor_shape::sine;
    }
    const char* start = waveform_name + std::strspn(waveform_name, " ");
    std::size_t length = std::strlen(start);
    while (length > 0 && start[length - 1] == ' ') {
        --length;
    }
    for (const shape_row& row : shape_rows) {
        if (std::strlen(row.name) == length && std::strncmp(row.name, start, length) == 0) {
            return row.shape;
        }
    }
    return monitor_shape::sine;
}

std::vector<double> monitor_sketch_levels(const s_monitor_values& values, monitor_shape shape, int count)
{
    const std::optional<double> scale = monitor_full_scale(values.offset, values.amplitude, values.amplitude_ceiling);
    if (!scale || count < 2) {
        return {};
    }
    count = std::min(count, MAX_LEVELS);
    const bool off = values.output_state == 0;
    const double offset = off ? 0.0 : static_cast<double>(values.offset);
    const double swing = off || values.output_state == 2
                             ? 0.0
                             : static_cast<double>(values.amplitude) / (values.device_flag ? 2.0 : 1.0);
    std::vector<double> levels(static_cast<std::size_t>(count));
    noise_run noise;
    for (int i = 0; i < count; ++i) {
        const double periods = PERIODS * i / (count - 1);
        const double phase = periods - std::floor(periods);
        const double form = shape == monitor_shape::noise ? noise.next() : shape_at(shape, phase);
        const double level = (offset + swing * form) / *scale;
        // An infinite level draws at the edge, one that is no number at 0.
        levels[static_cast<std::size_t>(i)] = std::isnan(level) ? 0.0 : std::clamp(level, -1.0, 1.0);
    }
    return levels;
}
