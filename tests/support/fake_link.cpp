#include "support/fake_link.h"

#include <algorithm>
#include <cstring>

#include "link/connection.h"

namespace {

#ifdef _WIN32
const link_socket_t fake_socket = 77;
link_handle_t const fake_handle = reinterpret_cast<link_handle_t>(static_cast<std::uintptr_t>(88));
#else
constexpr link_socket_t fake_socket = 77;
constexpr link_handle_t fake_handle = 88;
#endif

}  // namespace

void fake_wire::arrive(const std::string& bytes, std::uint64_t delay_ms)
{
    incoming_.push_back({clock_.now + delay_ms, bytes, 0});
}

void fake_wire::answer(const std::string& command, const std::string& reply)
{
    answers_.push_back({command, reply});
}

std::size_t fake_wire::available() const
{
    std::size_t n = 0;
    for (const chunk& c : incoming_) {
        if (c.at > clock_.now) {
            break;
        }
        n += c.bytes.size() - c.taken;
    }
    return n;
}

int fake_wire::take(unsigned char* buffer, int max)
{
    int n = 0;
    while (n < max && !incoming_.empty() && incoming_.front().at <= clock_.now) {
        chunk& c = incoming_.front();
        const int part = std::min<int>(max - n, static_cast<int>(c.bytes.size() - c.taken));
        std::memcpy(buffer + n, c.bytes.data() + c.taken, static_cast<std::size_t>(part));
        c.taken += static_cast<std::size_t>(part);
        n += part;
        if (c.taken == c.bytes.size()) {
            incoming_.pop_front();
        }
    }
    return n;
}

std::uint64_t fake_wire::next_arrival() const
{
    return incoming_.empty() ? 0 : incoming_.front().at;
}

void fake_wire::on_sent(const std::string& bytes)
{
    sent += bytes;
    for (char c : bytes) {
        if (c != '\0') {  // the NUL after each TCP command is framing, not text
            pending_command_ += c;
        }
    }
    for (const rule& r : answers_) {
        const std::size_t at = pending_command_.find(r.command);
        if (at != std::string::npos) {
            pending_command_.erase(0, at + r.command.size());
            arrive(r.reply);
        }
    }
    for (char c : bytes) {
        if (c == '\0') {
            continue;
        }
        if (c == LINK_RESET_BYTE) {
            pending_line_.clear();
            sent_lines.emplace_back(1, c);
        } else if (c == '\n') {
            sent_lines.push_back(pending_line_);
            const std::string line = std::move(pending_line_);
            pending_line_.clear();
            if (respond) {
                const std::string reply = respond(line);
                if (!reply.empty()) {
                    arrive(reply);
                }
            }
        } else {
            pending_line_ += c;
        }
    }
}

void fake_wire::reset()
{
    incoming_.clear();
    answers_.clear();
    pending_command_.clear();
    pending_line_.clear();
    sent.clear();
    sent_lines.clear();
    respond = nullptr;
}

int fake_tcp::connect(const char* ip_address, int, int, link_socket_t* out)
{
    ++connects;
    last_address = ip_address;
    if (!connect_ok) {
        return -1;
    }
    is_open = true;
    *out = fake_socket;
    return 0;
}

int fake_tcp::send_all(link_socket_t, const char* data, std::size_t len)
{
    wire.on_sent(std::string(data, len));
    return 0;
}

int fake_tcp::receive(link_socket_t, unsigned char* buffer, int max)
{
    largest_receive_request = std::max(largest_receive_request, max);
    clock_.now += static_cast<std::uint64_t>(ms_per_receive);
    const int got = wire.take(buffer, max);
    return got > 0 ? got : TCP_NOTHING_WAITING;
}

// Like the real transports: bytes already waiting end the wait at once.
int fake_tcp::wait_idle(link_socket_t, int ms)
{
    if (wire.available() > 0) {
        return 1;
    }
    clock_.now += static_cast<std::uint64_t>(ms);
    return wire.available() > 0 ? 1 : 0;
}

void fake_tcp::close(link_socket_t)
{
    ++closes;
    is_open = false;
}

int fake_serial::open(const char* port, int baud, link_handle_t* out)
{
    ++opens;
    last_port = port;
    last_baud = baud;
    if (!open_ok) {
        return -1;
    }
    timeout_ms = 5000;
    is_open = true;
    *out = fake_handle;
    return 0;
}

int fake_serial::write(link_handle_t, const char* data, std::size_t len)
{
    wire.on_sent(std::string(data, len));
    return static_cast<int>(len);
}

int fake_serial::bytes_waiting(link_handle_t)
{
    return static_cast<int>(wire.available());
}

int fake_serial::read_byte(link_handle_t, unsigned char* byte)
{
    if (wire.available() == 0) {
        const std::uint64_t next = wire.next_arrival();
        if (next == 0 || next > clock_.now + static_cast<std::uint64_t>(timeout_ms)) {
            clock_.now += static_cast<std::uint64_t>(timeout_ms);
            return 0;
        }
        clock_.now = next;
    }
    return wire.take(byte, 1);
}

void fake_serial::close(link_handle_t)
{
    ++closes;
    is_open = false;
}

fake_link_backend::fake_link_backend()
{
    link_use_backend(&tcp, &serial, &clock);
}

fake_link_backend::~fake_link_backend()
{
    link_restore_platform_backend();
}
