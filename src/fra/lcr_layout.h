// The LCR result layout code: what the values of an s_lcr_result mean.
//
//   code 3 (and 1)  8 values: frequency (Hz), Q, tan delta, |Z| (Ohms),
//                   phase (deg), L (H), C (F), R (Ohms)
//   code 6         13 values: frequency, Q, tan delta, |Z|, Z phase, series
//                   L, C, R, |Y|, Y phase, parallel L, C, R
//   code 7          5 values: frequency, Z real, Z quadrature, |Z|, Z phase
//   code 8          5 values: frequency, Y real (S), Y quadrature (S), |Y|,
//                   Y phase
//
// Any other code reads like code 3. The code itself is held by whoever holds
// the current LCR data (the LCR engine sets it, and so does the import).
#pragma once

#include "fra/sweep_records.h"

inline constexpr int LCR_LAYOUT_READING = 1;    // a real-time reading, read as code 3
inline constexpr int LCR_LAYOUT_BASIC = 3;
inline constexpr int LCR_LAYOUT_FULL = 6;
inline constexpr int LCR_LAYOUT_IMPEDANCE = 7;
inline constexpr int LCR_LAYOUT_ADMITTANCE = 8;

// Values per point: 13 for code 6, 5 for codes 7 and 8, 8 for every other code.
int lcr_values_for_layout(int layout);

// The Nyquist pair (Z', Z'') of a point:
//   code 7      (x1, x2)
//   code 8      (G / (G^2 + B^2), -B / (G^2 + B^2)) with G = x1, B = x2;
//               (0, 0) when G^2 + B^2 is 0, so a zero point stays finite
//   otherwise   (x7, -1 / (2 pi x0 x6)); Z'' is 0 when x0 or x6 is 0
struct s_nyquist_pair {
    double real;
    double imaginary;
};
s_nyquist_pair lcr_nyquist_pair(const s_lcr_result& point, int layout);
