// Replies forced by fault knobs (--binary-reply, --raw-reply, --exact-reply,
// --burst, --big-reply, --endless-reply). Each one names a command (compared
// case-insensitively with the whole received line) and fixes the reply sent
// for it, replacing whatever the command table would answer. The first
// override naming a command wins.
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
    bool line_ends = true;  // false: the lines go out exactly, no line end added
    bool endless = false;   // lines unused: a stream of bytes that never ends
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
// CMD=TEXT: exactly the bytes of TEXT after C escapes, no line end added.
std::optional<reply_override> parse_exact_reply(std::string_view argument, std::string& error);
// CMD=N[xLEN]: N filler lines of LEN characters (default 70).
std::optional<reply_override> parse_burst_reply(std::string_view argument, std::string& error);
// CMD=N: one filler line of N characters.
std::optional<reply_override> parse_big_reply(std::string_view argument, std::string& error);
// CMD: a reply that never ends (see endless_reply_bytes).
std::optional<reply_override> parse_endless_reply(std::string_view argument, std::string& error);

// count bytes of the endless reply from byte offset on: the letters A-Z
// repeating, never a line end, so a reader can check nothing was lost.
std::string endless_reply_bytes(std::size_t offset, std::size_t count);

// The forced reply for line, or nullptr when no override names it.
const reply_override* find_override(const std::vector<reply_override>& overrides, std::string_view line);

}  // namespace hvxsim
