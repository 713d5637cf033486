#include "sim/session.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace hvxsim {

std::string stream_line(unsigned long n)
{
    char text[64];
    const int len = std::snprintf(text, sizeof text, "%.5E,%.5E", static_cast<double>(n), -45.0);
    return std::string(text, len > 0 ? static_cast<std::size_t>(len) : 0);
}

session::session(instrument& device, const wire_settings& settings, transcript& log, std::string channel)
    : device_(device), settings_(settings), log_(log), channel_(std::move(channel))
{
}

void session::connected(clock::time_point now, std::string_view peer)
{
    log_.connect(channel_, peer);
    idle_since_ = now;
    if (settings_.stream_interval)
        next_stream_ = now + *settings_.stream_interval;
}

void session::received(std::string_view bytes, clock::time_point now)
{
    log_.in(channel_, bytes);
    idle_since_ = now;
    for (framer_event& event : framer_.feed(bytes)) {
        switch (event.type) {
        case framer_event::kind::reset:
            log_.reset(channel_);
            clear_queue();
            break;
        case framer_event::kind::overlong:
            log_.note(channel_, "line longer than " + std::to_string(line_framer::max_line_length) +
                                    " bytes: discarded up to its line end");
            break;
        case framer_event::kind::command: {
            log_.command(channel_, event.line);
            const instrument_response reply = device_.respond(event.line);
            for (const std::string& note : reply.notes)
                log_.note(channel_, note);
            if (!settings_.silent)
                queue_reply(reply, event.line, now);
            break;
        }
        }
    }
}

void session::queue_reply(const instrument_response& reply, std::string_view line, clock::time_point now)
{
    const clock::time_point due = now + settings_.reply_delay + reply.delay;
    if (reply.endless) {
        push({due, {}, output_kind::endless});
        return;
    }
    std::size_t size = 0;
    for (const std::string& l : reply.lines)
        size += l.size() + (reply.line_ends ? settings_.line_end.size() : 0);
    if (size == 0)
        return;
    const std::size_t limit = settings_.max_queued_output;
    if (size > limit - std::min(queued_bytes_, limit)) {
        log_.note(channel_, "output queue full (" + std::to_string(queued_bytes_) +
                                " bytes not yet taken by the client): reply to \"" + std::string(line) +
                                "\" dropped");
        return;
    }
    // Spaced lines go out as replies of their own, each due one interval
    // after the one before.
    const bool spaced = reply.line_interval.count() > 0;
    std::string out;
    out.reserve(spaced ? 0 : size);
    clock::time_point line_due = due;
    for (const std::string& l : reply.lines) {
        out += l;
        if (reply.line_ends)
            out += settings_.line_end;
        if (spaced) {
            line_due += reply.line_interval;
            push({line_due, std::move(out), output_kind::reply});
            out.clear();
        }
    }
    if (!spaced)
        push({due, std::move(out), output_kind::reply});
}

void session::push(queued_output output)
{
    queued_bytes_ += output.bytes.size();
    if (output.kind == output_kind::reply)
        ++queued_replies_;
    if (output.kind == output_kind::stream_line)
        ++queued_stream_lines_;
    queue_.push_back(std::move(output));
}

void session::pop_front()
{
    const queued_output& front = queue_.front();
    queued_bytes_ -= front.bytes.size();
    if (front.kind == output_kind::reply)
        --queued_replies_;
    if (front.kind == output_kind::stream_line)
        --queued_stream_lines_;
    queue_.pop_front();
}

void session::clear_queue()
{
    end_endless_reply();
    queue_.clear();
    queued_bytes_ = 0;
    queued_replies_ = 0;
    queued_stream_lines_ = 0;
}

void session::end_endless_reply()
{
    if (endless_written_ == 0)
        return;
    log_.note(channel_, "endless reply ended after " + std::to_string(endless_written_) + " bytes");
    endless_written_ = 0;
}

void session::input_ended()
{
    next_stream_.reset();
}

session::clock::time_point session::earliest_take(const queued_output& front) const
{
    if (settings_.trickle_interval.count() > 0 && next_trickle_byte_)
        return std::max(front.due, *next_trickle_byte_);
    return front.due;
}

std::optional<session::clock::time_point> session::next_write_time() const
{
    std::optional<clock::time_point> next = next_stream_;
    if (!queue_.empty()) {
        const auto t = earliest_take(queue_.front());
        if (!next || t < *next)
            next = t;
    }
    return next;
}

std::optional<session::clock::time_point> session::idle_deadline() const
{
    if (settings_.idle_timeout.count() <= 0 || queued_replies_ > 0)
        return std::nullopt;
    return idle_since_ + settings_.idle_timeout;
}

void session::queue_stream_line_if_due(clock::time_point now)
{
    if (!next_stream_ || *next_stream_ > now)
        return;
    // At most one line waits: while the wire cannot take them (the client
    // does not read, or a reply holds up the queue) lines are skipped, and
    // the gap shows in the numbers.
    ++stream_lines_;
    if (queued_stream_lines_ == 0)
        push({now, stream_line(stream_lines_) + settings_.line_end, output_kind::stream_line});
    next_stream_ = now + *settings_.stream_interval;
}

std::string session::take_output(clock::time_point now)
{
    queue_stream_line_if_due(now);
    if (queue_.empty() || earliest_take(queue_.front()) > now)
        return {};
    if (settings_.trickle_interval.count() > 0)
        next_trickle_byte_ = now + settings_.trickle_interval;
    return take_from(queue_.front());
}

std::string session::take_from(queued_output& front)
{
    const bool trickle = settings_.trickle_interval.count() > 0;
    if (front.kind == output_kind::endless) {
        std::string chunk = endless_reply_bytes(front.taken, trickle ? 1 : endless_chunk_bytes);
        front.taken += chunk.size();
        last_take_ = take_kind::endless;
        return chunk;
    }
    std::string taken;
    if (trickle) {
        taken.assign(1, front.bytes[front.taken++]);
        if (front.taken < front.bytes.size()) {
            last_take_ = take_kind::part;
            return taken;
        }
    } else {
        taken = std::move(front.bytes);
        front.bytes.clear();
        queued_bytes_ -= taken.size();
    }
    last_take_ = front.kind == output_kind::reply ? take_kind::reply_end : take_kind::part;
    pop_front();
    return taken;
}

void session::wrote(std::string_view bytes, clock::time_point now)
{
    if (last_take_ == take_kind::endless) {
        if (endless_written_ == 0)
            log_.out(channel_, bytes);
        endless_written_ += bytes.size();
        return;
    }
    log_.out(channel_, bytes);
    if (last_take_ == take_kind::reply_end)
        idle_since_ = std::max(idle_since_, now);
}

void session::dropped(drop_reason why)
{
    log_.drop(channel_, why == drop_reason::idle ? "idle" : "not-reading");
}

void session::closed()
{
    end_endless_reply();
    log_.close(channel_);
}

}  // namespace hvxsim
