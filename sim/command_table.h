// The instrument's command set: one row per command pattern (syntax in
// command_pattern.h) with the handler that runs it. Rows are tried in order
// and the first match wins; a line that matches no row is an unknown
// command, which a real instrument ignores without a reply.
#pragma once

#include <chrono>
#include <span>
#include <string>
#include <string_view>

#include "sim/command_pattern.h"
#include "sim/instrument_state.h"

namespace hvxsim {

struct command_context {
    instrument_state& state;
    const command_args& args;                  // the pattern's captures
    std::chrono::milliseconds reply_delay{0};  // set by a handler: extra wait before its reply
    std::chrono::milliseconds line_interval{0};  // set by a handler: its reply's lines this far apart
    std::string note;                          // set by a handler: a line for the transcript
    std::chrono::steady_clock::time_point now{};  // when the command runs (the instrument's clock)
};

using command_handler = reply_lines (*)(command_context& context);

struct command_entry {
    std::string_view pattern;
    command_handler handler;
};

std::span<const command_entry> command_table();

}  // namespace hvxsim
