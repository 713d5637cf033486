// The few TCP socket operations the simulator needs, over BSD sockets
// (socket_io_posix.cpp) or Winsock (socket_io_win32.cpp).
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>

#include "sim/byte_channel.h"

namespace hvxsim {

using socket_handle = std::intptr_t;
inline constexpr socket_handle no_socket = -1;

// Starts the sockets library (Winsock 2.2; nothing on POSIX) for the life
// of the process. False with a message in error on failure.
bool start_sockets(std::string& error);

// A listening socket on address:port (dotted IPv4; port 0 picks a free
// port, reported in bound_port) with the largest listen queue the system
// allows, so clients arriving while one is served wait there, in the order
// they came, instead of being turned away. no_socket with a message in error when the
// address is in use or cannot be bound.
socket_handle listen_tcp(const std::string& address, int port, int& bound_port, std::string& error);

// Waits at most timeout_ms for a client; no_socket when none came. On
// success peer holds "a.b.c.d:port" and the socket is ready for
// socket_channel.
socket_handle accept_client(socket_handle listener, int timeout_ms, std::string& peer);

void close_socket(socket_handle s);

// A connected socket as a byte channel; owns and closes the socket. A write
// that can hand the peer no byte for stall_limit gives up as stalled (0:
// waits for as long as the peer lives).
class socket_channel : public byte_channel {
public:
    socket_channel(socket_handle s, std::chrono::milliseconds stall_limit) : socket_(s), stall_limit_(stall_limit) {}
    ~socket_channel() override { close_socket(socket_); }
    socket_channel(const socket_channel&) = delete;
    socket_channel& operator=(const socket_channel&) = delete;

    read_result read(char* buffer, std::size_t capacity, int timeout_ms) override;
    write_status write(std::string_view bytes, const std::atomic<bool>& stop) override;

private:
    socket_handle socket_;
    const std::chrono::milliseconds stall_limit_;
};

}  // namespace hvxsim
