// The span a logarithmic impedance graph axis may be given by hand.
#pragma once

inline constexpr double LOG_AXIS_LOWEST = 1e-6;
inline constexpr double LOG_AXIS_HIGHEST = 1e8;
