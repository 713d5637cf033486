#include "impedance/piezo_analysis.h"

#include <cmath>

#include "fra/lcr_layout.h"

namespace {

// 2 pi as the piezo analysis has always written it (the nearest double).
constexpr double two_pi = 6.283185307179586;
// The start of the minimum's search, and of its frequency.
constexpr double search_start = 2147483647.0;

constexpr int frequency_value = 0;
constexpr int impedance_value = 3;

constexpr const char* admittance_refusal =
    "The piezo analysis needs impedance values, but this sweep holds admittance (|Y|) values. "
    "Sweep or import the resonator as impedance.";

}  // namespace

piezo_result piezo_start_values()
{
    return {search_start, 0.0, search_start, 0.0, 0.0, 0.0, 0.0, 0.0};
}

void piezo_reset(piezo_result& result)
{
    result = piezo_start_values();
}

void piezo_calculate(const s_lcr_sweep& block, piezo_result& result)
{
    piezo_reset(result);
    const int points = block.points >= 0 && block.points <= SWEEP_MAX_POINTS ? block.points : 0;
    // Stored high to low: walk from the last point back.
    const bool descending =
        points > 1 && block.point[0].value[frequency_value] > block.point[points - 1].value[frequency_value];
    for (int position = 0; position < points; ++position) {
        const double* value = block.point[descending ? points - 1 - position : position].value;
        const double z = value[impedance_value];
        const double f = value[frequency_value];
        if (z < result.z_min) {
            result.z_min = z;
            result.w_r = f;
            result.z_max = z;
        }
        if (z > result.z_max) {
            result.z_max = z;
            result.w_a = f;
        }
    }
    result.w_a = two_pi * result.w_a;
    result.w_r = two_pi * result.w_r;
    result.r = result.z_min;
    result.c_p = 1.0 / (std::sqrt(result.r * result.z_max) * result.w_a);
    result.c = (result.w_a * result.w_a / (result.w_r * result.w_r) - 1.0) * result.c_p;
    result.l = 1.0 / (result.w_r * result.w_r * result.c);
}

const char* piezo_layout_refusal(int layout)
{
    return layout == LCR_LAYOUT_ADMITTANCE ? admittance_refusal : nullptr;
}

s_piezo_outcome piezo_analyse(const s_lcr_sweep& block, int layout)
{
    s_piezo_outcome outcome{true, piezo_start_values(), {}};
    if (const char* refusal = piezo_layout_refusal(layout)) {
        outcome.accepted = false;
        outcome.refusal = refusal;
        return outcome;
    }
    piezo_calculate(block, outcome.result);
    return outcome;
}
