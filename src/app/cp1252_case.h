// Letter case of Windows-1252 text by one fixed table, so that every build
// gives the same bytes whatever the runtime's locale ("\xD8" always becomes
// "\xF8"; a signed char never reaches a C library case function).
#pragma once

#include <string>
#include <string_view>

// The lower-case byte of a Windows-1252 byte; bytes without one (digits,
// signs, the lower-case letters themselves, "\xD7", "\xDF") are kept.
unsigned char cp1252_lower_byte(unsigned char byte);
// text with every letter in lower case.
std::string cp1252_lower(std::string_view text);
