// The link protocol over whichever transport the record names. Every rule
// about bytes on the wire lives here, once, for serial and TCP alike:
//  - after each open the reset byte 0x14 is sent and stray input drained;
//  - over TCP every command is followed by its terminating NUL byte;
//  - TCP replies pass through a 64 KiB receive ring; a line ends at LF,
//    CR is dropped;
//  - serial replies are read byte by byte, cut at the first CR, and a line
//    ending in a bare LF keeps it;
//  - every line read ends by a deadline as well as the per-byte timeout, a
//    line that does not fit its buffer is discarded (never cut into a
//    shorter reply), and a binary reply cut short of its values is
//    refused; each such read
//    gives the "no reply" result and says why in the record's last_read;
//  - a reply whose first byte has bit 7 set is a packed binary value.
// No locks: at most one thread uses a link at a time (callers stop the
// generator monitor before any foreground operation).
#include "link/connection.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>

#include "graph/number_format.h"
#include "link/comms_log.h"
#include "link/transport.h"

namespace {

constexpr int TCP_CONNECT_TIMEOUT_MS = 2000;
// Bytes asked of the socket at once: enough for a whole sweep reply in a
// few calls (each socket call is costly under some Windows environments).
constexpr int TCP_RECEIVE_CHUNK = LINK_RX_RING_SIZE;
constexpr int IDLE_WAIT_MS = 10;
constexpr int OPEN_DRAIN_MS = 100;
// A talking instrument keeps a drain going past its time; this bounds how far,
// so an instrument that streams continuously cannot hang an open.
constexpr int DRAIN_OVERRUN_LIMIT_MS = 2000;

std::atomic<int> tcp_timeout_ms{LINK_DEFAULT_TIMEOUT_MS};
std::atomic<bool> sockets_started{false};

// The one reply buffer of link_read_values (a whole sweep fits in it), and
// how many of its leading bytes the last read wrote: the rest is still zero,
// so a read clears only those, never the whole buffer for each line of a
// sweep (which cost more than reading and parsing the line).
char values_buffer[LINK_VALUES_BUFFER_SIZE];
int values_buffer_written = 0;

bool is_serial(const s_connection* conn)
{
    return conn->interface == LINK_USB || conn->interface == LINK_SERIAL;
}

bool is_tcp(const s_connection* conn)
{
    return conn->interface == LINK_LAN;
}

void copy_bounded(char* dest, std::size_t capacity, const char* text)
{
    if (capacity == 0) {
        return;
    }
    std::size_t n = 0;
    if (text) {
        while (n + 1 < capacity && text[n] != '\0') {
            dest[n] = text[n];
            ++n;
        }
    }
    std::memset(dest + n, 0, capacity - n);
}

void reset_ring(s_connection* conn)
{
    conn->rx_count = 0;
    conn->rx_head = 0;
    conn->rx_tail = 0;
}

// Moves whatever the socket holds into the ring, never more than the ring
// has room for, so no byte is lost or reordered. Bytes are received straight
// into the ring's free space (one contiguous stretch per call); the receive
// never blocks.
void tcp_service(s_connection* conn)
{
    tcp_transport& tcp = *link_current_backend().tcp;
    const int room = LINK_RX_RING_SIZE - conn->rx_count;
    if (room <= 0) {
        return;
    }
    const int stretch = std::min(room, LINK_RX_RING_SIZE - conn->rx_head);
    const int got = tcp.receive(conn->socket, conn->rx_ring + conn->rx_head, std::min(stretch, TCP_RECEIVE_CHUNK));
    if (got > 0) {
        conn->rx_head = (conn->rx_head + got) % LINK_RX_RING_SIZE;
        conn->rx_count += got;
    }
}

int ring_pop(s_connection* conn)
{
    if (conn->rx_count == 0) {
        return -2;
    }
    const int byte = conn->rx_ring[conn->rx_tail];
    conn->rx_tail = (conn->rx_tail + 1) % LINK_RX_RING_SIZE;
    --conn->rx_count;
    return byte;
}

// The next received byte without waiting; the socket is serviced only when
// the ring has nothing waiting.
int tcp_poll(s_connection* conn)
{
    if (conn->rx_count == 0) {
        if (conn->socket == LINK_INVALID_SOCKET) {
            return -1;
        }
        tcp_service(conn);
    }
    return ring_pop(conn);
}

// One line read in progress: where its bytes go, when it must end, and what
// it has met. A line that does not fit is not cut: its bytes past the buffer
// are counted as discarded while the read looks for the line's end, and the
// read then fails as too long.
struct line_read {
    char* buffer;
    int size;
    std::uint64_t deadline;
    int stored = 0;
    bool overflowed = false;
    bool cut = false;  // serial: a CR was met, the rest of the line is not kept
    int discarded = 0;

    void keep(unsigned char byte)
    {
        if (stored < size - 1) {
            buffer[stored++] = static_cast<char>(byte);
        } else {
            overflowed = true;
            ++discarded;
        }
    }
    // A run of bytes of the line at once: as many as fit, the rest counted.
    void keep_run(const unsigned char* bytes, int count)
    {
        const int room = std::max(size - 1 - stored, 0);
        const int taken = std::min(count, room);
        std::memcpy(buffer + stored, bytes, static_cast<std::size_t>(taken));
        stored += taken;
        if (taken < count) {
            overflowed = true;
            discarded += count - taken;
        }
    }
    bool gave_up() const { return discarded >= LINK_DISCARD_LIMIT; }
};

// The result of a failed read in the transport's own terms (0 serial, -1
// TCP), with the outcome recorded for callers that say why.
int read_failed(s_connection* conn, link_read_outcome outcome)
{
    conn->last_read = outcome;
    return is_serial(conn) ? 0 : -1;
}

int line_ended(s_connection* conn, const line_read& line)
{
    if (line.overflowed) {
        return read_failed(conn, LINK_READ_TOO_LONG);
    }
    conn->last_read = LINK_READ_LINE;
    return line.stored;
}

int line_not_ended(s_connection* conn, const line_read& line)
{
    return read_failed(conn, line.overflowed ? LINK_READ_TOO_LONG : LINK_READ_TIMED_OUT);
}

// The next byte, waiting at most the TCP timeout and never past the line's
// deadline; -1 when none came. The socket is asked first and waited on only
// when nothing has arrived, so a reply that is already there costs one
// receive and no wait.
int tcp_wait_byte(s_connection* conn, std::uint64_t deadline)
{
    int byte = tcp_poll(conn);
    if (byte >= 0 || conn->socket == LINK_INVALID_SOCKET) {
        return byte >= 0 ? byte : -1;
    }
    link_backend& backend = link_current_backend();
    const std::uint64_t start = backend.clock->now_ms();
    const std::uint64_t give_up = std::min(deadline, start + static_cast<std::uint64_t>(tcp_timeout_ms.load()));
    for (;;) {
        if (backend.clock->now_ms() >= give_up) {
            return -1;
        }
        backend.tcp->wait_idle(conn->socket, IDLE_WAIT_MS);
        byte = tcp_poll(conn);
        if (byte >= 0) {
            return byte;
        }
    }
}

// Takes bytes of one line out of the ring's contiguous stretch at its tail,
// CR dropped. True when a line feed ended it.
bool take_from_ring(s_connection* conn, line_read& line)
{
    const int stretch = std::min(conn->rx_count, LINK_RX_RING_SIZE - conn->rx_tail);
    const unsigned char* begin = conn->rx_ring + conn->rx_tail;
    const void* lf = std::memchr(begin, '\n', static_cast<std::size_t>(stretch));
    const int line_bytes = lf ? static_cast<int>(static_cast<const unsigned char*>(lf) - begin) : stretch;
    // Whole runs between carriage returns, which are dropped.
    const unsigned char* run = begin;
    const unsigned char* end = begin + line_bytes;
    while (run < end) {
        const void* cr = std::memchr(run, '\r', static_cast<std::size_t>(end - run));
        const unsigned char* run_end = cr ? static_cast<const unsigned char*>(cr) : end;
        line.keep_run(run, static_cast<int>(run_end - run));
        run = cr ? run_end + 1 : end;
    }
    const int consumed = lf ? line_bytes + 1 : line_bytes;
    conn->rx_tail = (conn->rx_tail + consumed) % LINK_RX_RING_SIZE;
    conn->rx_count -= consumed;
    return lf != nullptr;
}

int tcp_read_line_raw(s_connection* conn, line_read& line)
{
    if (conn->socket == LINK_INVALID_SOCKET && conn->rx_count == 0) {
        return read_failed(conn, LINK_READ_NO_LINK);
    }
    link_clock& clock = *link_current_backend().clock;
    for (;;) {
        while (conn->rx_count > 0) {
            if (take_from_ring(conn, line)) {
                return line_ended(conn, line);
            }
            if (line.gave_up()) {
                return line_not_ended(conn, line);
            }
        }
        // The ring is empty: wait for the next byte, then go on from the ring.
        if (clock.now_ms() >= line.deadline) {
            return line_not_ended(conn, line);
        }
        const int byte = tcp_wait_byte(conn, line.deadline);
        if (byte < 0) {
            return line_not_ended(conn, line);
        }
        if (byte == '\n') {
            return line_ended(conn, line);
        }
        if (byte != '\r') {
            line.keep(static_cast<unsigned char>(byte));
        }
    }
}

// Serial lines are read byte by byte up to their line feed, which stays in
// the text when no CR came before it; the text ends at its first CR.
int serial_read_line_raw(s_connection* conn, line_read& line)
{
    if (conn->serial_handle == LINK_INVALID_HANDLE) {
        return read_failed(conn, LINK_READ_NO_LINK);
    }
    serial_transport& serial = *link_current_backend().serial;
    link_clock& clock = *link_current_backend().clock;
    for (;;) {
        if (clock.now_ms() >= line.deadline || line.gave_up()) {
            return line_not_ended(conn, line);
        }
        unsigned char byte = 0;
        if (serial.read_byte(conn->serial_handle, &byte) != 1) {
            return line_not_ended(conn, line);
        }
        if (byte == '\n') {
            // A bare line feed is part of the text when it still fits.
            if (!line.cut && !line.overflowed && line.stored < line.size - 1) {
                line.keep(byte);
            }
            return line_ended(conn, line);
        }
        if (byte == '\r') {
            line.cut = true;
        } else if (!line.cut) {
            line.keep(byte);
        }
    }
}

// Whether a line that arrived can be the reply it claims to be: a binary
// reply (first byte 0x80 or above) holds whole values, 4 bytes and the
// separator position each (the last separator may be the line end). Text
// lines are the caller's to judge: a line of NUL bytes is the instrument's
// empty reply, which the configuration transfer counts apart.
link_read_outcome judge_line(const char* buffer, int length, bool value_list)
{
    if (length <= 0 || static_cast<unsigned char>(buffer[0]) < 0x80) {
        return LINK_READ_LINE;
    }
    const int bytes = buffer[length - 1] == '\n' ? length - 1 : length;
    const int partial = bytes % BINARY_VALUE_SIZE;
    const bool whole =
        value_list ? (partial == 0 || partial == BINARY_VALUE_SIZE - 1) : bytes >= BINARY_VALUE_SIZE - 1;
    return whole ? LINK_READ_LINE : LINK_READ_SHORT_BINARY;
}

// One reply line into buffer, without logging or binary conversion; the
// line is followed by zeros to the buffer's end. The buffer is cleared
// first: all of it, or, when `written` is given, only its first *written
// bytes (the rest being zero already), and *written then becomes the bytes
// this read wrote. Returns the length, or the transport's "no reply" result
// (0 serial, -1 TCP) with the reason in the record's last_read.
int read_line_raw(s_connection* conn, char* buffer, int size, bool value_list, int* written = nullptr)
{
    conn->last_read_binary = 0;
    if (!buffer || size <= 0) {
        return read_failed(conn, LINK_READ_NO_LINK);
    }
    const int dirty = written ? std::clamp(*written, 0, size) : size;
    std::memset(buffer, 0, static_cast<std::size_t>(dirty));
    if (written) {
        *written = 0;
    }
    if (!is_tcp(conn) && !is_serial(conn)) {
        conn->last_read = LINK_READ_NO_LINK;
        return -1;
    }
    line_read line{buffer, size,
                   link_current_backend().clock->now_ms() + static_cast<std::uint64_t>(link_line_deadline_ms(conn, size))};
    const int result = is_tcp(conn) ? tcp_read_line_raw(conn, line) : serial_read_line_raw(conn, line);
    if (written) {
        *written = line.stored;
    }
    if (result <= 0) {
        return result;
    }
    const link_read_outcome judged = judge_line(buffer, result, value_list);
    if (judged != LINK_READ_LINE) {
        return read_failed(conn, judged);
    }
    conn->last_read_binary = static_cast<unsigned char>(buffer[0]) >= 0x80 ? 1 : 0;
    return result;
}

// Length of the raw text the read left in buffer, for the log.
std::size_t stored_text_length(const char* buffer, int size)
{
    const void* end = std::memchr(buffer, '\0', static_cast<std::size_t>(size));
    return end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : static_cast<std::size_t>(size);
}

// A reply that starts with a byte of 0x80 or above is one packed binary
// value: the text of that value replaces the bytes, within the buffer.
void convert_binary_reply(char* buffer, int size)
{
    if (size <= 0 || static_cast<unsigned char>(buffer[0]) < 0x80) {
        return;
    }
    unsigned char bytes[BINARY_VALUE_SIZE] = {};
    std::memcpy(bytes, buffer, static_cast<std::size_t>(std::min(size, BINARY_VALUE_SIZE)));
    char text[64];
    decode_binary_value(bytes, text, sizeof text);
    copy_bounded(buffer, static_cast<std::size_t>(size), text);
}

// A line that is no reply leaves nothing in the buffer that could be taken
// for one (a timed-out line keeps what came, as the log shows).
void clear_rejected(const s_connection* conn, char* buffer, int size)
{
    if (conn->last_read != LINK_READ_LINE && conn->last_read != LINK_READ_TIMED_OUT) {
        std::memset(buffer, 0, static_cast<std::size_t>(size));
    }
}

}  // namespace

s_connection& the_connection()
{
    static s_connection connection;
    return connection;
}

void connection_set_com_port(s_connection* conn, const char* text)
{
    copy_bounded(conn->com_port, sizeof conn->com_port, text);
}

void connection_set_ip_address(s_connection* conn, const char* text)
{
    copy_bounded(conn->ip_address, sizeof conn->ip_address, text);
}

void connection_set_identity(s_connection* conn, const char* text)
{
    copy_bounded(conn->identity, sizeof conn->identity, text);
}

int link_open(s_connection* conn)
{
    if (conn->open) {
        return 0;
    }
    link_backend& backend = link_current_backend();
    if (is_serial(conn)) {
        link_handle_t handle = LINK_INVALID_HANDLE;
        if (backend.serial->open(conn->com_port, conn->baud_rate, &handle) != 0) {
            return -1;
        }
        conn->serial_handle = handle;
        conn->serial_timeout_ms = LINK_DEFAULT_TIMEOUT_MS;
    } else if (is_tcp(conn)) {
        if (!sockets_started.load()) {
            if (!backend.tcp->startup()) {
                return -1;
            }
            sockets_started = true;
        }
        link_socket_t s = LINK_INVALID_SOCKET;
        if (backend.tcp->connect(conn->ip_address, LINK_TCP_PORT, TCP_CONNECT_TIMEOUT_MS, &s) != 0) {
            return -1;
        }
        conn->socket = s;
        reset_ring(conn);
    } else {
        return -1;
    }
    conn->open = 1;
    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_drain(conn, OPEN_DRAIN_MS);
    return 0;
}

void link_close(s_connection* conn)
{
    link_backend& backend = link_current_backend();
    // Whatever is open is closed, even if the record's interface was changed
    // since it was opened.
    if (conn->serial_handle != LINK_INVALID_HANDLE) {
        backend.serial->close(conn->serial_handle);
        conn->serial_handle = LINK_INVALID_HANDLE;
    }
    if (conn->socket != LINK_INVALID_SOCKET) {
        backend.tcp->close(conn->socket);
        conn->socket = LINK_INVALID_SOCKET;
    }
    if (is_tcp(conn) && sockets_started.load()) {
        backend.tcp->cleanup();
        sockets_started = false;
    }
    reset_ring(conn);
    conn->open = 0;
}

int link_send(s_connection* conn, const char* text)
{
    link_backend& backend = link_current_backend();
    const std::size_t len = std::strlen(text);
    int result = -1;
    if (is_serial(conn)) {
        result = conn->serial_handle == LINK_INVALID_HANDLE
                     ? 0
                     : backend.serial->write(conn->serial_handle, text, len);
    } else if (is_tcp(conn)) {
        result = conn->socket == LINK_INVALID_SOCKET ? -1 : backend.tcp->send_all(conn->socket, text, len + 1);
    }
    comms_log_link_entry(conn, link_log_event::sent, text, len);
    return result;
}

int link_read_line(s_connection* conn, char* buffer, int size)
{
    const int result = read_line_raw(conn, buffer, size, false);
    if (buffer && size > 0) {
        comms_log_link_entry(conn, link_log_event::line_read, buffer, stored_text_length(buffer, size));
        clear_rejected(conn, buffer, size);
        if (result > 0) {
            convert_binary_reply(buffer, size);
        }
    } else {
        comms_log_link_entry(conn, link_log_event::line_read, "", 0);
    }
    return result;
}

int link_read_values(s_connection* conn, double* values, int max_count, bool validate)
{
    const int result = read_line_raw(conn, values_buffer, LINK_VALUES_BUFFER_SIZE, true, &values_buffer_written);
    comms_log_link_entry(conn, link_log_event::values_read, values_buffer,
                         stored_text_length(values_buffer, LINK_VALUES_BUFFER_SIZE));
    if (result <= 0) {
        return result;
    }
    const std::size_t length = static_cast<std::size_t>(result);
    return validate ? parse_value_list_strict(values_buffer, length, values, max_count)
                    : parse_value_list(values_buffer, length, values, max_count);
}

int link_poll_byte(s_connection* conn)
{
    if (is_tcp(conn)) {
        return tcp_poll(conn);
    }
    if (!is_serial(conn) || conn->serial_handle == LINK_INVALID_HANDLE) {
        return -1;
    }
    serial_transport& serial = *link_current_backend().serial;
    const int waiting = serial.bytes_waiting(conn->serial_handle);
    if (waiting == 0) {
        return -2;
    }
    if (waiting < 0) {
        return -1;
    }
    unsigned char byte = 0;
    return serial.read_byte(conn->serial_handle, &byte) == 1 ? byte : -1;
}

void link_drain(s_connection* conn, int ms)
{
    link_clock& clock = *link_current_backend().clock;
    const std::uint64_t start = clock.now_ms();
    const std::uint64_t limit = static_cast<std::uint64_t>(std::max(ms, 0));
    for (;;) {
        const std::uint64_t elapsed = clock.now_ms() - start;
        if (link_poll_byte(conn) >= 0) {
            if (elapsed > limit + DRAIN_OVERRUN_LIMIT_MS) {
                return;
            }
            continue;
        }
        if (ms <= 0 || elapsed > limit) {
            return;
        }
        clock.sleep_ms(IDLE_WAIT_MS);
    }
}

void link_set_timeout(s_connection* conn, int ms)
{
    if (is_tcp(conn)) {
        tcp_timeout_ms = ms;
    } else if (is_serial(conn) && conn->serial_handle != LINK_INVALID_HANDLE) {
        link_current_backend().serial->set_read_timeout(conn->serial_handle, ms);
        conn->serial_timeout_ms = ms;
    }
}

int link_line_deadline_ms(const s_connection* conn, int size)
{
    const std::int64_t timeout = is_tcp(conn) ? tcp_timeout_ms.load() : conn->serial_timeout_ms;
    const std::int64_t bytes = std::max(size, 0);
    // Ten bits a byte on a serial line; a network link is allowed 100 bytes
    // a millisecond, far below any LAN's speed.
    const std::int64_t transfer =
        is_serial(conn) ? bytes * 10 * 1000 / std::max<std::int64_t>(conn->baud_rate, 300) : bytes / 100;
    const std::int64_t total = 2 * std::max<std::int64_t>(timeout, 0) + transfer + 1;
    return static_cast<int>(std::min<std::int64_t>(total, INT32_MAX));
}

link_read_outcome link_last_read(const s_connection* conn)
{
    return static_cast<link_read_outcome>(conn->last_read);
}

std::string link_read_failure_text(link_read_outcome outcome, int size)
{
    switch (outcome) {
    case LINK_READ_LINE:
        return "";
    case LINK_READ_TIMED_OUT:
        return "No reply";
    case LINK_READ_TOO_LONG:
        return "The reply was longer than " + std::to_string(size - 1) + " characters and was discarded";
    case LINK_READ_SHORT_BINARY:
        return "The reply is a binary value cut short";
    case LINK_READ_NO_LINK:
        break;
    }
    return "No link to read from";
}

int link_tcp_timeout_ms()
{
    return tcp_timeout_ms.load();
}

void link_get_info(const s_connection* conn, int item, char* out)
{
    if (!out) {
        throw std::invalid_argument("link_get_info: no output buffer");
    }
    if (conn->identity[0] == '\0') {
        throw NoConStrException();
    }
    const char* identity = conn->identity;
    const std::size_t length = ::strnlen(identity, sizeof conn->identity);
    // Field boundaries: the first three commas.
    std::size_t comma[3];
    int found = 0;
    for (std::size_t i = 0; i < length && found < 3; ++i) {
        if (identity[i] == ',') {
            comma[found++] = i;
        }
    }
    std::size_t begin = 0;
    std::size_t end = 0;
    if (item >= 1 && item <= 3 && found >= item) {
        begin = comma[item - 1] + 1;
        end = (item < 3 && found > item) ? comma[item] : length;
    }
    const std::size_t n = std::min<std::size_t>(end - begin, 127);
    std::memcpy(out, identity + begin, n);
    out[n] = '\0';
}
