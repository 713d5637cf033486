// The one routine that writes printf-style exponent forms ("%.*E", "%.*e").
// It always writes at least three exponent digits (1.23450E+003), whatever the
// C runtime does, so the Linux and Windows builds give the same bytes in files,
// commands to the instrument, the comms log and on screen.
#pragma once

#include <cstddef>
#include <string>

// Writes value as "%.*E" (upper true) or "%.*e" with precision digits after the
// mark and a signed exponent of at least three digits (an exponent of three
// digits, such as E+100 or E-308, is written as it is). Output is bounded by
// size (always NUL-terminated when size > 0). Returns the length of the full
// text (as snprintf does). A negative precision means 6, as in printf; a
// precision above 1000 is taken as 1000. Non-finite values are written as
// "INF", "-INF", "NAN" (lower case for "%e"), the same in both builds.
int format_exp_text(char* out, std::size_t size, double value, int precision, bool upper = true);
std::string exp_text(double value, int precision, bool upper = true);

// "%.*g" (shortest of fixed and exponent form, significant digits) with the
// same three-digit exponent and non-finite texts: 1e-05 is written 1e-005.
std::string general_number_text(double value, int significant);
