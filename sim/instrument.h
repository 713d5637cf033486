// The simulated instrument: its state, its command table and the replies
// forced by fault knobs. Transports and sessions hand it whole command
// lines; it knows nothing of framing, timing or connections. Thread-safe:
// the TCP and serial sessions share one instrument.
//
// A line may carry several commands separated by ";" (the mode commands
// "config,1,1;FRA" append a display command); they run in order and their
// replies follow one another.
#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "sim/instrument_state.h"
#include "sim/reply_overrides.h"

namespace hvxsim {

// What one command line produces.
struct instrument_response {
    reply_lines lines;                   // empty: no reply (unless endless)
    bool line_ends = true;               // false: send the lines exactly, no line ends
    bool endless = false;                // lines unused: a reply that never ends
    std::chrono::milliseconds delay{0};  // extra wait before the reply
    std::chrono::milliseconds line_interval{0};  // each line this long after the one before; 0: together
    std::vector<std::string> notes;      // lines for the transcript
};

class instrument {
public:
    explicit instrument(instrument_state initial, std::vector<reply_override> overrides = {});

    // Runs one command line (framing bytes already removed).
    instrument_response respond(std::string_view line);

    // The reply lines of respond(); empty for a command that gets no
    // reply, unknown commands included.
    reply_lines execute(std::string_view line) { return respond(line).lines; }

    // A copy of the current state (for tests and diagnostics).
    instrument_state snapshot() const;

    // The clock that times measurements ("DAV?", "*wai"); the steady clock
    // unless a test gives its own.
    using clock_function = std::function<std::chrono::steady_clock::time_point()>;
    void set_clock(clock_function clock);

private:
    mutable std::mutex mutex_;
    instrument_state state_;              // guarded by mutex_
    const std::vector<reply_override> overrides_;
    clock_function clock_ = [] { return std::chrono::steady_clock::now(); };  // guarded by mutex_
};

}  // namespace hvxsim
