// Engineering number texts and the instrument's number formats: five-digit
// SI-prefixed read-outs, compact axis labels, fixed SI texts, compact exponent
// forms, parsing of typed numbers, and decoding of reply value lists (comma-
// separated text or packed 5-byte binary values). Locale-free: a full stop is
// always the decimal mark here.
#pragma once

#include <cstddef>
#include <string>

// 5 significant digits and an SI prefix: 12500 -> "12.500 k", 5 -> "5.0000 ".
// Powers outside pico to giga are written as "2.0000E12 ". A mantissa that
// rounds up at its last decimal is kept ("1000.00 " for 999.996). At most
// size - 2 characters are written; infinities and NaN give "inf ", "nan ".
void format_eng(double value, char* out, std::size_t size);
// format_eng as a text, for read-outs and labels built as strings.
std::string format_eng_text(double value);
// A finite, non-zero magnitude as mantissa x 10^power, the power a multiple
// of three and the mantissa from 1 to below 1000: the split every engineering
// text here (and the generator monitor's) is written from.
struct s_eng_split {
    double mantissa;
    int power;
};
s_eng_split eng_split(double magnitude);
// The SI prefix of a power from -12 to 9 that is a multiple of three ("p",
// "n", "u", "m", "", "k", "M", "G"); nullptr for any other power.
const char* eng_prefix(int power);
// Compact label for frequency axes: 4700 -> "4k7", 1000000 -> "1M".
void format_eng_label(long long value, char* out, std::size_t size);
// Three decimals and a prefix letter: 1500 -> "1.500k", 0 -> "0.000".
// Magnitudes below 1e-24 give an empty text.
std::string format_si_fixed(double value);
// "%.*E" with a short exponent: 1234.5, 5 -> "1.23450E3". Bounded by size.
void format_exp_compact(char* out, std::size_t size, double value, int precision);
// Reads typed or stored numbers with prefix letters ("1.5k", "10m", "2E-3").
// *valid (when given) is cleared for text the rules call invalid.
double parse_eng(const char* text, bool* valid = nullptr);

inline constexpr int BINARY_VALUE_SIZE = 5;
// Decodes one 5-byte binary value (only bytes 0 to 3 are read; byte 1 alone
// when the value is zero); when text is given, also writes it there with
// format_exp_compact at precision 5.
double decode_binary_value(const unsigned char* bytes, char* text = nullptr, std::size_t text_size = 0);

// Decodes a reply line holding a list of values into at most max_count values.
// length is the number of bytes of the line (binary values may hold any byte);
// reading never goes past it, nor past a NUL in a text list. A binary list
// ends at max_count, when fewer than 4 bytes remain or at a value whose first
// byte is NUL; a text field converts its leading number as strtod does (0 when
// there is none). Returns the number of values stored (0 for empty text).
int parse_value_list(const char* reply, std::size_t length, double* values, int max_count);
// As parse_value_list, but text fields must look like the instrument's
// exponent form (exactly one '.', 8 to 11 characters not counting a line end);
// the first field that does not ends the list with
// "*** INVALID DOUBLE FOUND ***\n" on the debug output. A binary list also
// ends at a value whose first byte is a line feed.
int parse_value_list_strict(const char* reply, std::size_t length, double* values, int max_count);
