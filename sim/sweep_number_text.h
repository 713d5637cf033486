// Measured values as the instrument writes them in sweep and reading
// replies: "%.4E" with a two-digit exponent, so that every field holds
// exactly one "." and is 10 characters long (11 with a "-"), which is what
// the program's strict field check asks for (one ".", 8 to 11
// characters). Values the form cannot hold are bounded: beyond 9.9999E+99
// (infinities included) the field reads +-9.9999E+99, below 1E-99 it reads
// 0.0000E+00, and a NaN reads 0.0000E+00.
#pragma once

#include <span>
#include <string>

namespace hvxsim {

std::string measured_field_text(double value);

// The fields joined by ",", no line end.
std::string measured_line(std::span<const double> values);

}  // namespace hvxsim
