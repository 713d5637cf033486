#include "sim/sweep_replies.h"

#include <cmath>

namespace hvxsim {

namespace {

constexpr double two_pi = 6.283185307179586;
constexpr double degrees_per_radian = 57.29577951308232;

struct impedance_terms {
    double frequency, r, x, z_magnitude, z_phase;
    double g, b, y_magnitude, y_phase;
    double series_l, series_c, parallel_r, parallel_l, parallel_c, q, tan_delta;
};

// -1 / (w v), or 0 when v is 0 (no reactance: no such L or C).
double reactive_reciprocal(double omega, double v)
{
    return v == 0 ? 0.0 : -1.0 / (omega * v);
}

// a / b, where a zero b gives an infinity of a's sign (0 when a is 0 too)
// whatever the sign of the zero.
double ratio(double a, double b)
{
    if (b == 0)
        return a == 0 ? 0.0 : std::copysign(INFINITY, a);
    return a / b;
}

impedance_terms terms_of(double frequency, std::complex<double> z, int convention)
{
    const double omega = two_pi * frequency;
    const std::complex<double> y = 1.0 / z;
    impedance_terms t{};
    t.frequency = frequency;
    t.r = z.real();
    t.x = z.imag();
    t.z_magnitude = std::abs(z);
    t.z_phase = phase_in_convention(std::arg(z) * degrees_per_radian, convention);
    t.g = y.real();
    t.b = y.imag();
    t.y_magnitude = std::abs(y);
    t.y_phase = phase_in_convention(std::arg(y) * degrees_per_radian, convention);
    t.series_l = t.x / omega;
    t.series_c = reactive_reciprocal(omega, t.x);
    t.parallel_r = ratio(1.0, t.g);
    t.parallel_l = reactive_reciprocal(omega, t.b);
    t.parallel_c = t.b / omega;
    t.q = ratio(std::fabs(t.x), t.r);
    t.tan_delta = ratio(t.r, std::fabs(t.x));
    return t;
}

}  // namespace

double phase_in_convention(double degrees, int convention)
{
    double phase = std::remainder(degrees, 360.0);  // -180 to 180
    if (convention == 1 && phase > 0)
        phase -= 360.0;
    else if (convention == 2 && phase < 0)
        phase += 360.0;
    return phase;
}

std::vector<double> sweep_frequencies(int points, double start, double end)
{
    std::vector<double> frequencies;
    if (points < 1)
        return frequencies;
    const double ratio = points > 1 ? std::pow(10.0, std::log10(end / start) / (points - 1)) : 1.0;
    frequencies.reserve(static_cast<std::size_t>(points));
    for (int i = 0; i < points; ++i)
        frequencies.push_back(start * std::pow(ratio, i));
    return frequencies;
}

std::vector<double> transfer_point(double frequency, std::complex<double> h, double amplitude, int convention,
                                   bool three_channel)
{
    auto channel = [&](std::complex<double> response, std::vector<double>& out) {
        const double phase = phase_in_convention(std::arg(response) * degrees_per_radian, convention);
        out.push_back(std::abs(response) * amplitude);
        out.push_back(20.0 * std::log10(std::abs(response)));
        out.push_back(phase);
        out.push_back(-phase / (360.0 * frequency));
    };
    std::vector<double> values{frequency, amplitude};
    channel(h, values);
    if (three_channel)
        channel(h * h, values);
    return values;
}

std::vector<double> lcr_sweep_point(double frequency, std::complex<double> z, lcr_layout layout, bool parallel,
                                    int convention)
{
    const impedance_terms t = terms_of(frequency, z, convention);
    switch (layout) {
    case lcr_layout::lcr_equivalents:
        if (parallel)
            return {t.frequency, t.q, t.tan_delta, t.z_magnitude, t.z_phase, t.parallel_l, t.parallel_c, t.parallel_r};
        return {t.frequency, t.q, t.tan_delta, t.z_magnitude, t.z_phase, t.series_l, t.series_c, t.r};
    case lcr_layout::full:
        return {t.frequency, t.q,          t.tan_delta,   t.z_magnitude, t.z_phase,    t.series_l, t.series_c,
                t.r,         t.y_magnitude, t.y_phase,    t.parallel_l,  t.parallel_c, t.parallel_r};
    case lcr_layout::impedance:
        return {t.frequency, t.r, t.x, t.z_magnitude, t.z_phase};
    case lcr_layout::admittance:
        return {t.frequency, t.g, t.b, t.y_magnitude, t.y_phase};
    }
    return {};
}

std::vector<double> lcr_reading(double frequency, std::complex<double> z, double amplitude, bool complex_form,
                                int convention)
{
    const impedance_terms t = terms_of(frequency, z, convention);
    const double current = amplitude / t.z_magnitude;
    if (complex_form)
        return {t.frequency, amplitude, current, t.z_magnitude, t.z_phase, t.r,
                t.x,         t.y_magnitude, t.y_phase, t.g,     t.b};
    return {t.frequency, amplitude,    current,      t.z_magnitude, t.z_phase,   t.r,   t.series_l,
            t.series_c,  t.parallel_r, t.parallel_l, t.parallel_c,  t.tan_delta, t.q,   t.x};
}

}  // namespace hvxsim
