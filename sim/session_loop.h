// Runs one session over one channel until the client is gone (its input
// ended and every queued reply went out, or a write failed), the session
// drops it (idle past its deadline, or a write stalled: DROP record) or stop
// is set.
#pragma once

#include <atomic>

#include "sim/byte_channel.h"
#include "sim/session.h"

namespace hvxsim {

void run_session(byte_channel& channel, session& conversation, const std::atomic<bool>& stop);

}  // namespace hvxsim
