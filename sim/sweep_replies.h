// The values of the instrument's measurement replies, computed from the
// device under test so that every form of one point agrees with every
// other. Pure functions of the device, the frequency and the settings
// they are given; sweep_commands.cpp reads those from the configuration.
//
// Transfer (FRA) point, 6 values: frequency (Hz), magnitude 1 (V, the
// generator amplitude), magnitude 2 (V, |H| x amplitude), gain (dB,
// 20 log10 |H|), phase (degrees, arg H in the phase convention), delay
// (s, -phase / (360 f)). A three-channel point adds 4: magnitude 3, gain 2,
// phase 2 and delay 2 of a third channel that sees the device twice over
// (two identical stages in cascade, H^2).
//
// Impedance (LCR) terms of Z = R + jX at angular frequency w, Y = 1/Z =
// G + jB: series L = X/w, series C = -1/(wX), parallel R = 1/G, parallel
// L = -1/(wB), parallel C = B/w, Q = |X|/R, tan d = R/|X|. An L or C whose
// reactance is 0 reads 0; a quotient by a zero R or G is infinite (and the
// reply's number form bounds it).
#pragma once

#include <complex>
#include <vector>

namespace hvxsim {

// Phase conventions (parameter 6): 0 -180 to 180, 1 0 to -360, 2 0 to +360.
// A phase in degrees brought into the convention's range; an unknown
// convention reads as 0.
double phase_in_convention(double degrees, int convention);

// n frequencies from start to end, log-spaced as the instrument steps:
// ratio r = 10^(log10(end / start) / (n - 1)), f_i = start x r^i.
std::vector<double> sweep_frequencies(int points, double start, double end);

std::vector<double> transfer_point(double frequency, std::complex<double> h, double amplitude, int convention,
                                   bool three_channel);

// LCR sweep line layouts, as the instrument chooses them.
enum class lcr_layout {
    lcr_equivalents,  // 8: frequency, Q, tan d, |Z|, phase, L, C, R (series or parallel L, C, R)
    full,             // 13: frequency, Q, tan d, |Z|, Z phase, series L, C, R, |Y|, Y phase, parallel L, C, R
    impedance,        // 5: frequency, R, X, |Z|, Z phase
    admittance,       // 5: frequency, G, B, |Y|, Y phase
};

std::vector<double> lcr_sweep_point(double frequency, std::complex<double> z, lcr_layout layout, bool parallel,
                                    int convention);

// "lcr?" readings (amplitude in V; magnitude 2 is the current |V/Z| in A).
// 11 values: frequency, magnitude 1, magnitude 2, |Z|, Z phase, R, X, |Y|,
// Y phase, G, B. 14 values: frequency, magnitude 1, magnitude 2, |Z|,
// Z phase, series R, L, C, parallel R, L, C, tan d, Q, X.
std::vector<double> lcr_reading(double frequency, std::complex<double> z, double amplitude, bool complex_form,
                                int convention);

}  // namespace hvxsim
