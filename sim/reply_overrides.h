// Replies forced by fault knobs (--binary-reply, --raw-reply, --burst,
// --big-reply). Each one names a command (compared case-insensitively with
// the whole received line) and fixes the reply lines sent for it, replacing
// whatever the command table would answer. The first override naming a
// command wins.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/instrument_state.h"

namespace hvxsim {

struct reply_override {
    std::string command;
    reply_lines lines;
};

// Upper bound on the bytes one forced reply may hold.
inline constexpr std::size_t max_forced_reply_bytes = 64u * 1024 * 1024;

// Printable filler of exactly length characters for line number index:
// the index as six digits, ':', then letters A-Z repeating. Distinct lines
// let a reader check that nothing was lost or reordered.
std::string filler_line(std::size_t index, std::size_t length);

// Parsers for the knob arguments. Each returns nothing and sets error when
// the argument is malformed or out of range.
// CMD=V1[,V2...]: one line of the values as binary numbers.
std::optional<reply_override> parse_binary_reply(std::string_view argument, std::string& error);
// CMD=TEXT: one line of TEXT after C escapes.
std::optional<reply_override> parse_raw_reply(std::string_view argument, std::string& error);
// CMD=N[xLEN]: N filler lines of LEN characters (default 70).
std::optional<reply_override> parse_burst_reply(std::string_view argument, std::string& error);
// CMD=N: one filler line of N characters.
std::optional<reply_override> parse_big_reply(std::string_view argument, std::string& error);

// The forced reply for line, or nullptr when no override names it.
const reply_override* find_override(const std::vector<reply_override>& overrides, std::string_view line);

}  // namespace hvxsim
