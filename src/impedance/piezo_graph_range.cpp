#include "impedance/piezo_graph_range.h"

#include <cmath>

namespace {

constexpr double frequency_low_start = 1e9;
constexpr double frequency_high_start = 0.0;
constexpr double flat_span = 1e-13;
constexpr double flat_widening = 10.0;
constexpr double zero_frequency_replacement = 1.0;

constexpr double impedance_low_start = 100000.0;
constexpr double impedance_high_start = -50000.0;
constexpr double impedance_low_margin = 0.8;
constexpr double impedance_high_margin = 1.2;

constexpr int frequency_value = 0;
constexpr int impedance_value = 3;

struct extremes {
    double low;
    double high;
    bool found = false;

    void take(double v)
    {
        if (!std::isfinite(v)) {
            return;
        }
        if (v < low) {
            low = v;
        }
        if (v > high) {
            high = v;
        }
        found = true;
    }
};

}  // namespace

s_piezo_graph_range piezo_graph_range(const s_lcr_sweep& block)
{
    const int points = block.points >= 0 && block.points <= SWEEP_MAX_POINTS ? block.points : 0;
    extremes frequency{frequency_low_start, frequency_high_start};
    extremes impedance{impedance_low_start, impedance_high_start};
    for (int i = 0; i < points; ++i) {
        frequency.take(block.point[i].value[frequency_value]);
        impedance.take(block.point[i].value[impedance_value]);
    }
    if (frequency.high - frequency.low < flat_span) {
        frequency.high += flat_widening;
    }
    if (frequency.low == 0.0) {
        frequency.low = zero_frequency_replacement;
    }
    return {frequency.low,
            frequency.high,
            impedance_low_margin * impedance.low,
            impedance_high_margin * impedance.high,
            frequency.found && impedance.found};
}
