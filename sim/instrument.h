// The simulated instrument: its state, its command table and the replies
// forced by fault knobs. Transports and sessions hand it whole command
// lines; it knows nothing of framing, timing or connections. Thread-safe:
// the TCP and serial sessions share one instrument.
#pragma once

#include <mutex>
#include <string_view>
#include <vector>

#include "sim/instrument_state.h"
#include "sim/reply_overrides.h"

namespace hvxsim {

class instrument {
public:
    explicit instrument(instrument_state initial, std::vector<reply_override> overrides = {});

    // Runs one command line (framing bytes already removed). Returns the
    // reply lines; empty for a command that gets no reply, unknown commands
    // included.
    reply_lines execute(std::string_view line);

    // A copy of the current state (for tests and diagnostics).
    instrument_state snapshot() const;

private:
    mutable std::mutex mutex_;
    instrument_state state_;              // guarded by mutex_
    const std::vector<reply_override> overrides_;
};

}  // namespace hvxsim
