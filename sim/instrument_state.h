// Everything the simulated instrument remembers. One object per simulator
// process, shared by every connection on every transport (the program opens
// a new connection for each operation, so state must outlive connections);
// the instrument class guards it with its mutex.
#pragma once

#include <string>
#include <vector>

namespace hvxsim {

struct instrument_state {
    std::string identity;                     // the "*IDN?" reply text
    unsigned long identity_answer_from = 1;   // first "*IDN?" request (1-based) that is answered
    unsigned long identity_requests = 0;      // "*IDN?" requests so far, over all connections
};

// One reply: its lines without line ends (the session adds them). Empty
// means the instrument does not answer.
using reply_lines = std::vector<std::string>;

}  // namespace hvxsim
