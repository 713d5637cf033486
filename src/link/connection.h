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
#include <string>

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
// Bytes of one over-long line that a read discards, looking for its end,
// before it gives up on the line (within the line's deadline as well).
inline constexpr int LINK_DISCARD_LIMIT = 1 << 20;

// How the last line read of a record ended. Every outcome but
// LINK_READ_LINE comes with the transport's "no reply" result (0 serial,
// -1 TCP), so callers that only test the result treat them all as a missing
// reply; callers that say why ask link_last_read.
enum link_read_outcome : std::int32_t {
    LINK_READ_LINE = 0,          // a line ended by its line feed, or a serial line cut by its timeout
    LINK_READ_TIMED_OUT = 1,     // no byte within the per-byte timeout, or no line end by the deadline
    LINK_READ_TOO_LONG = 2,      // the line did not fit the buffer: it is discarded, never cut
    LINK_READ_SHORT_BINARY = 3,  // a binary reply shorter than its values
    LINK_READ_NO_LINK = 4,       // nothing open to read from
};

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
    // Beyond the instrument's record: the serial port's per-byte timeout in
    // force (the TCP one is process-wide), which bounds a whole line read,
    // and how the last read ended.
    std::int32_t serial_timeout_ms = LINK_DEFAULT_TIMEOUT_MS;
    std::int32_t last_read = LINK_READ_LINE;
    std::uint8_t last_read_binary = 0;  // the last line was a binary value, converted to text
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

// The longest a line read of `size` bytes may take on this record before it
// ends as timed out: twice the per-byte timeout in force (one wait for the
// reply to start, one more for it to finish) plus the time the buffer takes
// to fill at the link's speed. A reply that trickles in, or streams without
// a line end, therefore ends in bounded time.
int link_line_deadline_ms(const s_connection* conn, int size);

// How the last link_read_line or link_read_values on the record ended.
link_read_outcome link_last_read(const s_connection* conn);
// The user's text for a failed read ("No reply", "The reply was longer
// than 255 characters and was discarded", ...); `size` is the buffer the
// read used.
std::string link_read_failure_text(link_read_outcome outcome, int size);
