// What a session loop needs from a transport: bounded waits for input and
// whole writes. Implemented over a TCP socket and over a pty master.
#pragma once

#include <atomic>
#include <cstddef>
#include <string_view>

namespace hvxsim {

class byte_channel {
public:
    enum class read_status {
        data,     // count bytes were stored
        timeout,  // nothing arrived within the wait
        ended,    // the peer's input ended (orderly close) or failed for good
    };
    struct read_result {
        read_status status;
        std::size_t count;
    };

    virtual ~byte_channel() = default;

    // Waits at most timeout_ms (0: just look) for input and reads what is
    // there, at most capacity bytes.
    virtual read_result read(char* buffer, std::size_t capacity, int timeout_ms) = 0;

    enum class write_status {
        written,  // every byte
        failed,   // the peer is gone, or stop was set
        stalled,  // the peer took nothing for the channel's stall limit
    };

    // Offers all bytes to one write call and, should it take only part,
    // keeps writing the rest. Gives up when stop is set, the peer is gone
    // or (where the channel has a stall limit) the peer stops taking bytes.
    virtual write_status write(std::string_view bytes, const std::atomic<bool>& stop) = 0;
};

}  // namespace hvxsim
