// Matching a received command line against a command pattern.
//
// Letters compare case-insensitively, as the instrument does ("*IDN?" and
// "*idn?" are the same command). Two placeholders capture arguments:
//   {n}     an integer: an optional '-' and one or more digits
//   {text}  any run of characters, possibly empty
// Every other pattern character must match itself. The whole line must be
// consumed. Example: "config,{n},{text}" matches "CONFIG,12,1.5E3" with
// captures "12" and "1.5E3".
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace hvxsim {

using command_args = std::vector<std::string>;

// True when line matches pattern; captures are then stored in args in order
// (args is cleared first).
bool match_command(std::string_view pattern, std::string_view line, command_args& args);

// ASCII-only lower-casing; independent of any locale.
char ascii_lower(char c);

// Case-insensitive comparison of two whole texts.
bool equal_ignoring_case(std::string_view a, std::string_view b);

}  // namespace hvxsim
