// Everything the simulated instrument remembers. One object per simulator
// process, shared by every connection on every transport (the program opens
// a new connection for each operation, so state must outlive connections);
// the instrument class guards it with its mutex.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "sim/config_faults.h"
#include "sim/config_store.h"
#include "sim/screen_state.h"
#include "sim/sweep_state.h"

namespace hvxsim {

// Event status register values. The program takes an "*esr?" answer of 32
// or less as "accepted", so a refused command sets two bits at once: the
// execution error (16) and the command error (32), reading 48.
inline constexpr unsigned esr_refused = 0x10 | 0x20;
// What a suspend request leaves in the register when the instrument is
// too busy to suspend (the --suspend-busy knob).
inline constexpr unsigned esr_busy = 0x01;

struct instrument_state {
    std::string identity;                     // the "*IDN?" reply text
    unsigned long identity_answer_from = 1;   // first "*IDN?" request (1-based) that is answered
    unsigned long identity_requests = 0;      // "*IDN?" requests so far, over all connections

    // The configuration; nothing for an instrument without one, which then
    // ignores the config commands.
    std::optional<config_store> config;
    std::vector<config_fault> config_faults;             // knobs, with their attempts left
    std::chrono::milliseconds config_reply_delay{0};     // before every config query's reply

    unsigned esr = 0;           // event status register; "*ESR?" reads and clears it
    bool suspended = false;     // between "SUSPEN,ON" (or "SUSPEND,ON") and "SUSPEN,OFF"
    bool suspend_busy = false;  // "SUSPEN,ON" is refused with esr_busy

    measurement_state measurement;  // devices under test, "DAV?" timing
    screen_state screen;            // the display and its reply knobs
};

// One reply: its lines without line ends (the session adds them). Empty
// means the instrument does not answer.
using reply_lines = std::vector<std::string>;

}  // namespace hvxsim
