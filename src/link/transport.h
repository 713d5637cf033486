// Byte-moving primitives under the link protocol. Each platform supplies one
// TCP and one serial implementation (Winsock and Win32 serial on Windows, BSD
// sockets and termios on Linux); tests substitute scripted fakes. None of them
// frames lines, logs, or keeps a ring: connection.cpp does that identically
// for all four.
#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_handles.h"

class link_clock {
public:
    virtual ~link_clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::uint64_t now_ms() = 0;
    virtual void sleep_ms(int ms) = 0;
};

inline constexpr int TCP_NOTHING_WAITING = -2;

class tcp_transport {
public:
    virtual ~tcp_transport() = default;
    // Start the sockets library (WSAStartup 2.2 on Windows). False on failure.
    virtual bool startup() = 0;
    // Undo startup (WSACleanup on Windows).
    virtual void cleanup() = 0;
    // Non-blocking connect to ip_address:port, waiting at most timeout_ms for
    // the handshake; on success the socket is stored in *out. Returns 0 on
    // success, -1 on failure (no socket left behind).
    virtual int connect(const char* ip_address, int port, int timeout_ms, link_socket_t* out) = 0;
    // Sends all len bytes (looping over partial sends). 0 on success, -1 on failure.
    virtual int send_all(link_socket_t s, const char* data, std::size_t len) = 0;
    // Receive up to max bytes without ever blocking: >0 bytes stored,
    // TCP_NOTHING_WAITING when no byte has arrived yet, 0 peer closed,
    // -1 error. Trying first and waiting only when nothing came makes a
    // round trip whose reply is already there cost a single call.
    virtual int receive(link_socket_t s, unsigned char* buffer, int max) = 0;
    // The wait of a read that has nothing yet: returns 1 as soon as a receive
    // will not block (bytes waiting, or the peer gone), otherwise 0 after ms
    // milliseconds. Once a receive has found the socket closed or failed,
    // every wait takes its full time, so a reading loop never spins.
    virtual int wait_idle(link_socket_t s, int ms) = 0;
    // Shut down the sending side and close.
    virtual void close(link_socket_t s) = 0;
};

class serial_transport {
public:
    virtual ~serial_transport() = default;
    // Open the named port exclusively: a COM name such as COM12, turned into
    // the device by serial_port_device (link/serial_port_names.h), or a device
    // path used as given. A port that is already open does not open again.
    // Settings: 8N1 at baud, RTS and DTR on, no CTS/DSR flow control,
    // 4096-byte driver buffers, and a 5000 ms per-byte read timeout.
    // Returns 0 and stores the handle, or -1 with nothing left open.
    virtual int open(const char* port, int baud, link_handle_t* out) = 0;
    // Write len bytes; returns the number written, 0 on failure.
    virtual int write(link_handle_t h, const char* data, std::size_t len) = 0;
    // Bytes waiting in the driver's input queue (clearing any port error), -1 on failure.
    virtual int bytes_waiting(link_handle_t h) = 0;
    // Read one byte, waiting up to the port's read timeout.
    // 1 byte stored, 0 timed out, -1 failed (the port error is cleared).
    virtual int read_byte(link_handle_t h, unsigned char* byte) = 0;
    // Change this port's per-byte read timeout (until it is closed).
    virtual void set_read_timeout(link_handle_t h, int ms) = 0;
    // Purge both directions and close.
    virtual void close(link_handle_t h) = 0;
};

// The transports and clock the link uses. Defaults are the platform's own.
struct link_backend {
    tcp_transport* tcp;
    serial_transport* serial;
    link_clock* clock;
};

link_backend& link_current_backend();
// Replace the backend (tests); passing nullptr for a member keeps the platform one.
void link_use_backend(tcp_transport* tcp, serial_transport* serial, link_clock* clock);
void link_restore_platform_backend();

// The platform implementations (defined in the _posix or _win32 files).
tcp_transport& platform_tcp_transport();
serial_transport& platform_serial_transport();
link_clock& platform_link_clock();
