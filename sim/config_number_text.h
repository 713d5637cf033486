// Numbers as the instrument writes and reads them on the wire. Plain ASCII
// through snprintf/from_chars, which the program never changes the locale
// of, so both builds write the same bytes.
#pragma once

#include <string>
#include <string_view>

namespace hvxsim {

// The instrument's compact exponent form of a real: a mantissa with four
// decimals, "E" and the exponent without "+" or leading zeros, e.g.
// 1.0000E3, 2.5000E1, 1.0000E-3, -4.5000E0, 0.0000E0. At most 12
// characters for any finite value; anything else reads as 0.0000E0.
std::string compact_exponent_text(double value);

// A whole number's decimal digits ("-" first when negative), e.g. "1100000".
std::string whole_number_text(double value);

// A number for messages and listings, up to ten significant digits,
// e.g. "0.01", "35000000", "1e-05".
std::string plain_number_text(double value);

// Strict readers for values received in "config,N,V": the whole text must
// be the number, without spaces.
// A whole number: an optional "-" and decimal digits.
bool parse_whole_number(std::string_view text, double& value);
// A finite decimal number: optional sign, digits with an optional decimal
// point, optional exponent ("1", "-0.5", "1.0000E3", "2e-3", ".5").
bool parse_real_number(std::string_view text, double& value);

}  // namespace hvxsim
