// Engineering number texts and the instrument's number formats: five-digit
// SI-prefixed read-outs, compact axis labels, fixed SI texts, compact exponent
// forms, parsing of typed numbers, and decoding of reply value lists (comma-
// separated text or packed 5-byte binary values). Locale-free: a full stop is
// always the decimal mark here.
#pragma once

#include <cstddef>
#include <string>

// 5 significant digits and an SI prefix: 12500 -> "12.500 k", 5 -> "5.0000 ".
void format_eng(double value, char* out, std::size_t size);
// Compact label for frequency axes: 4700 -> "4k7", 1000000 -> "1M".
void format_eng_label(long long value, char* out, std::size_t size);
// Three decimals and a prefix letter: 1500 -> "1.500k", 0 -> "0.000".
std::string format_si_fixed(double value);
// "%.*E" with a short exponent: 1234.5, 5 -> "1.23450E3".
void format_exp_compact(char* out, std::size_t size, double value, int precision);
// Reads typed or stored numbers with prefix letters ("1.5k", "10m", "2E-3").
// *valid (when given) is cleared for text the rules call invalid.
double parse_eng(const char* text, bool* valid = nullptr);

inline constexpr int BINARY_VALUE_SIZE = 5;
// Decodes one 5-byte binary value; when text is given, also writes it there
// with format_exp_compact at precision 5.
double decode_binary_value(const unsigned char* bytes, char* text = nullptr, std::size_t text_size = 0);

// Decodes a reply line holding a list of values into at most max_count values.
// length is the number of bytes of the line (binary values may hold any byte);
// reading never goes past it. Returns the number of values stored.
int parse_value_list(const char* reply, std::size_t length, double* values, int max_count);
// As parse_value_list, but text fields must look like the instrument's
// exponent form (exactly one '.', 8 to 11 characters); the first field that
// does not ends the list with "*** INVALID DOUBLE FOUND ***\n" on the debug output.
int parse_value_list_strict(const char* reply, std::size_t length, double* values, int max_count);
