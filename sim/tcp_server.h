// Serves TCP clients one at a time on a listening socket: each accepted
// connection gets its own session (channel tcp#1, tcp#2, ...) on the shared
// instrument, and the next client is accepted when it ends; clients that
// connect meanwhile wait in the listen queue and are served in the order
// they came. The idle timeout (wire.idle_timeout) keeps one silent or
// non-reading client from holding the others off for ever.
#pragma once

#include <atomic>

#include "sim/instrument.h"
#include "sim/session.h"
#include "sim/socket_io.h"
#include "sim/transcript.h"

namespace hvxsim {

struct tcp_behaviour {
    wire_settings wire;
    bool refuse = false;  // close every connection as soon as it is accepted
};

// Returns when stop is set.
void serve_tcp(socket_handle listener, instrument& device, const tcp_behaviour& behaviour, transcript& log,
               const std::atomic<bool>& stop);

}  // namespace hvxsim
