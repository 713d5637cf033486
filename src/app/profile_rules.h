// The value rules shared by both profile_store back ends (profile_store.h).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// White space as the profile functions see it (also Ctrl+Z, an old end-of-file mark).
bool profile_is_space(char c);
std::string_view profile_trim(std::string_view text);

// text without one pair of matching surrounding quotes (' or ").
std::string_view profile_unquote(std::string_view text);

// The leading integer of text as GetPrivateProfileIntA reads it: control
// characters and spaces skipped, an optional '+' or '-', then "0x", "0o" or
// "0b" for hex, octal or binary, then digits up to the first that is not one,
// accumulated with 32-bit wrap-around. No digits read as 0.
int profile_leading_integer(std::string_view text);

// The characters of a value an integer read looks at.
inline constexpr std::size_t profile_integer_text_length = 29;

// False for names or values that would break a file's line structure.
bool profile_text_writable(const char* section, const char* key, const char* value);

// text cut to at most max_length characters (and profile_max_value_length).
std::string profile_cut(std::string_view text, std::size_t max_length);
