#include "fra/margin_band.h"

#include <cmath>
#include <limits>

const s_gain_phase_point* best_crossing(const LList<s_gain_phase_point>& crossings)
{
    const s_gain_phase_point* best = nullptr;
    for (const LList<s_gain_phase_point>::node* at = crossings.head; at != nullptr; at = at->next) {
        if (best == nullptr || at->element->run_length > best->run_length) {
            best = at->element;
        }
    }
    return best;
}

std::int32_t whole_hertz(double frequency)
{
    if (std::isnan(frequency)) {
        return 0;
    }
    constexpr double lowest = std::numeric_limits<std::int32_t>::min();
    constexpr double highest = std::numeric_limits<std::int32_t>::max();
    if (frequency <= lowest) {
        return std::numeric_limits<std::int32_t>::min();
    }
    if (frequency >= highest) {
        return std::numeric_limits<std::int32_t>::max();
    }
    return static_cast<std::int32_t>(std::trunc(frequency));
}

void compute_margin_band(s_test_plot& plot)
{
    s_plot_appearance& look = plot.appearance;
    if (look.band_found) {
        return;
    }
    const s_gain_phase_point* gain = best_crossing(plot.zero_db);
    const s_gain_phase_point* phase = best_crossing(plot.zero_phase);
    if (gain == nullptr || phase == nullptr) {
        return;
    }
    const bool gain_lower = gain->frequency < phase->frequency;
    look.band_low = whole_hertz(gain_lower ? gain->frequency : phase->frequency);
    look.band_high = whole_hertz(gain_lower ? phase->frequency : gain->frequency);
    look.band_found = true;
    look.band_mode = 1;
}
