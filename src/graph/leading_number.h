// Converts the leading numeric part of a piece of text, as strtod does
// (leading white space, a sign, decimal or hexadecimal digits, an exponent,
// "inf" and "nan"), and gives 0 when there is none. The text need not be
// NUL-terminated: nothing at or past end is read.
#pragma once

double leading_number(const char* begin, const char* end);
