// One conversation with a client over one connection (a TCP connection, or
// the serial port for as long as the simulator runs). Pure logic with no
// I/O and no clock of its own: the transport loop feeds it received bytes
// with the current time, asks it what to write and when, and tells it what
// was written. Tests drive it the same way with made-up times.
//
// Replies are queued in order, each due after the reply delay (plus any
// delay the instrument asks for, such as a slow configuration reply; a
// reply never overtakes an earlier one); a reset byte
// empties the queue (including the unsent rest of a reply being trickled)
// and is never answered. With a trickle interval each write carries one
// byte and writes are that far apart. With a stream interval an unsolicited
// line is queued that often from connect until the client's input ends.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/instrument.h"
#include "sim/line_framer.h"
#include "sim/transcript.h"

namespace hvxsim {

// How replies go out on the wire (the fault knobs that shape them).
struct wire_settings {
    bool silent = false;                              // never write a reply
    std::chrono::milliseconds reply_delay{0};         // from command to reply
    std::chrono::milliseconds trickle_interval{0};    // 0: whole replies in one write
    std::string line_end = "\r\n";
    std::optional<std::chrono::milliseconds> stream_interval;  // unsolicited lines
};

// The n-th unsolicited line of a streaming instrument (n from 1): two
// readings in the instrument's exponent form, the first counting up so a
// reader can see gaps, e.g. "3.00000E+00,-4.50000E+01".
std::string stream_line(unsigned long n);

class session {
public:
    using clock = std::chrono::steady_clock;

    session(instrument& device, const wire_settings& settings, transcript& log, std::string channel);

    // The client connected (CONNECT record); starts the stream if any.
    void connected(clock::time_point now, std::string_view peer);
    // Bytes arrived: IN record, then every command and reset they complete.
    void received(std::string_view bytes, clock::time_point now);
    // The client's input ended: the stream stops; queued replies still go.
    void input_ended();

    // When the next write falls due; nothing when nothing will be written
    // unless more input arrives.
    std::optional<clock::time_point> next_write_time() const;
    // The bytes for one write call at now; empty when nothing is due.
    std::string take_output(clock::time_point now);
    // Bytes taken with take_output were written (OUT record).
    void wrote(std::string_view bytes);
    // Replies queued and not yet fully taken (the stream not counted).
    bool replies_pending() const { return !queue_.empty(); }
    // The connection is gone (CLOSE record).
    void closed();

    const std::string& channel() const { return channel_; }

private:
    struct queued_output {
        clock::time_point due;
        std::string bytes;
        std::size_t taken = 0;  // bytes already handed out (trickle)
    };

    void queue_stream_line_if_due(clock::time_point now);
    clock::time_point earliest_take(const queued_output& front) const;

    instrument& device_;
    const wire_settings& settings_;
    transcript& log_;
    const std::string channel_;
    line_framer framer_;
    std::deque<queued_output> queue_;
    std::optional<clock::time_point> next_stream_;
    unsigned long stream_lines_ = 0;
    std::optional<clock::time_point> next_trickle_byte_;
};

}  // namespace hvxsim
