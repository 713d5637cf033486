#include "sim/tcp_server.h"

#include <string>

#include "sim/session_loop.h"

namespace hvxsim {

namespace {

constexpr int accept_wait_ms = 100;  // between stop checks

}  // namespace

void serve_tcp(socket_handle listener, instrument& device, const tcp_behaviour& behaviour, transcript& log,
               const std::atomic<bool>& stop)
{
    unsigned long connections = 0;
    while (!stop) {
        std::string peer;
        const socket_handle client = accept_client(listener, accept_wait_ms, peer);
        if (client == no_socket)
            continue;
        // A client that takes none of a reply for the idle time is as idle
        // as one that sends nothing.
        socket_channel channel(client, behaviour.wire.idle_timeout);
        session conversation(device, behaviour.wire, log, "tcp#" + std::to_string(++connections));
        conversation.connected(session::clock::now(), peer);
        if (!behaviour.refuse)
            run_session(channel, conversation, stop);
        conversation.closed();
    }
}

}  // namespace hvxsim
