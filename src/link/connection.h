// The one connection record and every operation that moves bytes to and from
// the instrument. The protocol rules (reset byte, NUL after TCP commands, the
// receive ring, CR/LF handling, per-byte timeouts) live here; the transports
// below (transport.h) only move bytes. At most one thread uses a link at a time.
#pragma once

// <objbase.h> defines `interface` as a keyword substitute; the record uses the
// word as a field name, so include Windows headers before this one.
#ifdef interface
#undef interface
#endif

#include <cstddef>
#include <cstdint>
#include <stdexcept>

#include "link/link_handles.h"

enum link_interface : std::int32_t {
    LINK_NONE = 0,
    LINK_USB = 1,     // the instrument's USB virtual COM port, always 19200 baud
    LINK_LAN = 2,     // TCP to port 10001
    LINK_SERIAL = 3,  // RS232 at the chosen baud rate
};

inline constexpr char LINK_RESET_BYTE = 0x14;
inline constexpr int LINK_TCP_PORT = 10001;
// The TCP receive ring holds a whole sweep reply, so a reply is taken from
// the socket in a few large receives and no byte is ever dropped.
inline constexpr int LINK_RX_RING_SIZE = 65536;
inline constexpr int LINK_DEFAULT_TIMEOUT_MS = 5000;
inline constexpr int LINK_VALUES_BUFFER_SIZE = 41920;

struct s_connection {
    std::int32_t interface = LINK_NONE;
    std::int32_t instrument_type = 0;
    std::int32_t sub_model = 0;
    char identity[128] = {};
    char calibration[128] = {};
    std::int32_t current_option = 0;
    char com_port[7] = {};
    char ip_address[16] = {};
    std::int32_t baud_rate = 0;
    std::uint8_t connected = 0;
    std::uint8_t open = 0;
    link_socket_t socket = LINK_INVALID_SOCKET;
    link_handle_t serial_handle = LINK_INVALID_HANDLE;
    unsigned char rx_ring[LINK_RX_RING_SIZE] = {};
    std::int32_t rx_count = 0;
    std::int32_t rx_head = 0;
    std::int32_t rx_tail = 0;
};

// "No Connection String\n": link_get_info on a record without an identity.
class NoConStrException : public std::runtime_error {
public:
    NoConStrException() : std::runtime_error("No Connection String\n") {}
};

// The process-wide connection ("the connection" of every view).
s_connection& the_connection();

// Bounded copies into the record's fixed fields (cut to fit, always terminated).
void connection_set_com_port(s_connection* conn, const char* text);
void connection_set_ip_address(s_connection* conn, const char* text);
void connection_set_identity(s_connection* conn, const char* text);

int link_open(s_connection* conn);
void link_close(s_connection* conn);
int link_send(s_connection* conn, const char* text);
int link_read_line(s_connection* conn, char* buffer, int size);
int link_read_values(s_connection* conn, double* values, int max_count, bool validate);
int link_poll_byte(s_connection* conn);
void link_drain(s_connection* conn, int ms);
void link_set_timeout(s_connection* conn, int ms);
void link_get_info(const s_connection* conn, int item, char* out);

// The current process-wide TCP read timeout in milliseconds.
int link_tcp_timeout_ms();
