#include "fra/lcr_layout.h"

namespace {

constexpr double two_pi = 6.2831853071795845;
constexpr int basic_values = 8;
constexpr int full_values = 13;
constexpr int five_values = 5;

}  // namespace

int lcr_values_for_layout(int layout)
{
    switch (layout) {
    case LCR_LAYOUT_FULL:
        return full_values;
    case LCR_LAYOUT_IMPEDANCE:
    case LCR_LAYOUT_ADMITTANCE:
        return five_values;
    default:
        return basic_values;
    }
}

s_nyquist_pair lcr_nyquist_pair(const s_lcr_result& point, int layout)
{
    const double* x = point.value;
    if (layout == LCR_LAYOUT_IMPEDANCE) {
        return {x[1], x[2]};
    }
    if (layout == LCR_LAYOUT_ADMITTANCE) {
        const double g = x[1];
        const double b = x[2];
        const double squared = g * g + b * b;
        if (squared == 0.0) {
            return {0.0, 0.0};
        }
        return {g / squared, -b / squared};
    }
    const double frequency = x[0];
    const double capacitance = x[6];
    const double imaginary =
        frequency == 0.0 || capacitance == 0.0 ? 0.0 : -1.0 / (two_pi * frequency * capacitance);
    return {x[7], imaginary};
}
