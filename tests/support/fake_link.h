// In-process stand-ins for the link's transports and clock, so the link
// protocol can be tested byte for byte without sockets, ports or real time.
// Bytes "arrive" at scripted moments of the fake clock; every wait advances
// that clock instead of sleeping.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/transport.h"

class fake_clock final : public link_clock {
public:
    std::uint64_t now_ms() override { return now; }
    void sleep_ms(int ms) override { now += static_cast<std::uint64_t>(ms); }
    std::uint64_t now = 1000;
};

// Incoming bytes with their arrival times on the fake clock.
class fake_wire {
public:
    explicit fake_wire(fake_clock& clock) : clock_(clock) {}
    // Bytes that arrive at now + delay_ms (in the order scheduled).
    void arrive(const std::string& bytes, std::uint64_t delay_ms = 0);
    // Arrive on every instrument reply: when sent() next contains `command`,
    // reply is scheduled. Handy to answer "*IDN?\n" the way an instrument does.
    void answer(const std::string& command, const std::string& reply);
    std::size_t available() const;
    int take(unsigned char* buffer, int max);
    // Time of the next scheduled arrival, or 0 when none.
    std::uint64_t next_arrival() const;
    void on_sent(const std::string& bytes);
    // Forget everything scheduled, answered and sent.
    void reset();
    std::string sent;  // everything written, in order

    // A scripted instrument: called with each complete line sent (its line
    // feed and the NUL framing bytes removed); the bytes it returns arrive at
    // once, "" meaning no reply. A reset byte ends any partial line.
    std::function<std::string(const std::string& line)> respond;
    // Every line sent (as respond sees it) and every reset byte (as "\x14"),
    // in order.
    std::vector<std::string> sent_lines;

private:
    struct chunk {
        std::uint64_t at;
        std::string bytes;
        std::size_t taken = 0;
    };
    struct rule {
        std::string command;
        std::string reply;
    };
    fake_clock& clock_;
    std::deque<chunk> incoming_;
    std::vector<rule> answers_;
    std::string pending_command_;
    std::string pending_line_;
};

class fake_tcp final : public tcp_transport {
public:
    explicit fake_tcp(fake_clock& clock) : wire(clock), clock_(clock) {}
    bool startup() override { ++startups; return startup_ok; }
    void cleanup() override { ++cleanups; }
    int connect(const char* ip_address, int port, int timeout_ms, link_socket_t* out) override;
    int send_all(link_socket_t s, const char* data, std::size_t len) override;
    int receive(link_socket_t s, unsigned char* buffer, int max) override;
    int wait_idle(link_socket_t s, int ms) override;
    void close(link_socket_t s) override;

    fake_wire wire;
    bool startup_ok = true;
    bool connect_ok = true;
    int startups = 0;
    int cleanups = 0;
    int connects = 0;
    int closes = 0;
    int largest_receive_request = 0;
    // Wire time each receive takes on the fake clock (a fast, busy line).
    int ms_per_receive = 0;
    std::string last_address;
    bool is_open = false;

private:
    fake_clock& clock_;
};

class fake_serial final : public serial_transport {
public:
    explicit fake_serial(fake_clock& clock) : wire(clock), clock_(clock) {}
    int open(const char* port, int baud, link_handle_t* out) override;
    int write(link_handle_t h, const char* data, std::size_t len) override;
    int bytes_waiting(link_handle_t h) override;
    int read_byte(link_handle_t h, unsigned char* byte) override;
    void set_read_timeout(link_handle_t, int ms) override { timeout_ms = ms; }
    void close(link_handle_t h) override;

    fake_wire wire;
    bool open_ok = true;
    int timeout_ms = 5000;
    int opens = 0;
    int closes = 0;
    std::string last_port;
    int last_baud = 0;
    bool is_open = false;

private:
    fake_clock& clock_;
};

// Installs the fakes as the link's backend for the life of the object.
class fake_link_backend {
public:
    fake_link_backend();
    ~fake_link_backend();
    fake_clock clock;
    fake_tcp tcp{clock};
    fake_serial serial{clock};
};
