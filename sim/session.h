// One conversation with a client over one connection (a TCP connection, or
// the serial port for as long as the simulator runs). Pure logic with no
// I/O and no clock of its own: the transport loop feeds it received bytes
// with the current time, asks it what to write and when, and tells it what
// was written. Tests drive it the same way with made-up times.
//
// Replies are queued in order, each due after the reply delay (plus any
// delay the instrument asks for, such as a slow configuration reply; a
// reply never overtakes an earlier one). A reply whose lines the
// instrument spaces out (--slow-lines-ms) is queued a line at a time, each
// due one interval after the one before. A reset byte empties the queue
// (including the unsent rest of a reply being trickled) and is never
// answered. With a trickle interval each write carries one
// byte and writes are that far apart. With a stream interval an unsolicited
// line is queued that often from connect until the client's input ends. An
// endless reply (--endless-reply) stays at the head of the queue and hands
// out letters forever; only a reset or the end of the connection stops it.
//
// Idle time (TCP): the client is idle from its last input, or from the
// moment the last reply to its commands went out, whichever is later.
// While such a reply is still queued (held by the delay, trickling, or
// being written) the client is waiting on us and is not idle. Stream lines
// and the endless reply do not count: a client that only reads them is
// idle. The transport loop drops the client when idle_deadline() passes.
//
// What one client can make the session hold is bounded: a line longer than
// line_framer::max_line_length is discarded (NOTE), and a reply that would
// take the queued output past max_queued_output is dropped (NOTE). At most
// one stream line waits in the queue; lines due meanwhile are skipped.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "sim/instrument.h"
#include "sim/line_framer.h"
#include "sim/reply_overrides.h"
#include "sim/transcript.h"

namespace hvxsim {

// Upper bound on the reply bytes queued for one client and not yet taken:
// room for the largest forced reply and more besides.
inline constexpr std::size_t max_queued_output_bytes = 2 * max_forced_reply_bytes;

// How replies go out on the wire (the fault knobs that shape them).
struct wire_settings {
    bool silent = false;                              // never write a reply
    std::chrono::milliseconds reply_delay{0};         // from command to reply
    std::chrono::milliseconds trickle_interval{0};    // 0: whole replies in one write
    std::string line_end = "\r\n";
    std::optional<std::chrono::milliseconds> stream_interval;  // unsolicited lines
    std::chrono::milliseconds idle_timeout{0};        // drop an idle client (0: never)
    std::size_t max_queued_output = max_queued_output_bytes;  // reply bytes not yet taken
};

// Bytes of the endless reply handed out per write (without trickle).
inline constexpr std::size_t endless_chunk_bytes = 4096;

// Why the transport loop ended a connection itself (the DROP record).
enum class drop_reason {
    idle,         // nothing from the client for the idle time
    not_reading,  // a write made no progress for the idle time
};

// The n-th unsolicited line of a streaming instrument (n from 1): two
// readings in the instrument's exponent form, the first counting up so a
// reader can see gaps, e.g. "3.00000E+00,-4.50000E+01".
std::string stream_line(unsigned long n);

class session {
public:
    using clock = std::chrono::steady_clock;

    session(instrument& device, const wire_settings& settings, transcript& log, std::string channel);

    // The client connected (CONNECT record); starts the stream if any and
    // the idle time.
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
    // Bytes taken with take_output were written by now (OUT record; of an
    // endless reply only the first write is recorded, and a NOTE with its
    // byte count when it ends).
    void wrote(std::string_view bytes, clock::time_point now);
    // Output queued and not yet fully taken, stream lines included.
    bool replies_pending() const { return !queue_.empty(); }
    // When the client is to be dropped for idleness unless it sends
    // something first; nothing without an idle timeout or while a reply to
    // one of its commands is queued.
    std::optional<clock::time_point> idle_deadline() const;
    // The transport loop ends the connection for this reason (DROP record).
    void dropped(drop_reason why);
    // The connection is gone (CLOSE record).
    void closed();

    const std::string& channel() const { return channel_; }

private:
    enum class output_kind {
        reply,        // to a command; the client waits for it
        stream_line,  // unsolicited
        endless,      // never ends; bytes made as they are taken
    };
    struct queued_output {
        clock::time_point due;
        std::string bytes;
        output_kind kind = output_kind::reply;
        std::size_t taken = 0;  // bytes already handed out (trickle, endless)
    };
    // What the last take_output handed out, for wrote().
    enum class take_kind { part, reply_end, endless };

    void queue_reply(const instrument_response& reply, std::string_view line, clock::time_point now);
    void queue_stream_line_if_due(clock::time_point now);
    void push(queued_output output);
    void pop_front();
    void clear_queue();
    void end_endless_reply();
    std::string take_from(queued_output& front);
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
    std::size_t queued_bytes_ = 0;         // bytes of the queued items
    std::size_t queued_replies_ = 0;       // items of kind reply
    std::size_t queued_stream_lines_ = 0;  // items of kind stream_line
    clock::time_point idle_since_{};
    take_kind last_take_ = take_kind::part;
    std::size_t endless_written_ = 0;      // bytes of the endless reply written
};

}  // namespace hvxsim
