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
    if (settings_.stream_interval)
        next_stream_ = now + *settings_.stream_interval;
}

void session::received(std::string_view bytes, clock::time_point now)
{
    log_.in(channel_, bytes);
    for (framer_event& event : framer_.feed(bytes)) {
        if (event.type == framer_event::kind::reset) {
            log_.reset(channel_);
            queue_.clear();
            continue;
        }
        log_.command(channel_, event.line);
        const instrument_response reply = device_.respond(event.line);
        for (const std::string& note : reply.notes)
            log_.note(channel_, note);
        if (settings_.silent || reply.lines.empty())
            continue;
        std::string out;
        for (const std::string& line : reply.lines) {
            out += line;
            out += settings_.line_end;
        }
        queue_.push_back({now + settings_.reply_delay + reply.delay, std::move(out)});
    }
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

void session::queue_stream_line_if_due(clock::time_point now)
{
    if (!next_stream_ || *next_stream_ > now)
        return;
    queue_.push_back({now, stream_line(++stream_lines_) + settings_.line_end});
    next_stream_ = now + *settings_.stream_interval;
}

std::string session::take_output(clock::time_point now)
{
    queue_stream_line_if_due(now);
    if (queue_.empty() || earliest_take(queue_.front()) > now)
        return {};

    queued_output& front = queue_.front();
    if (settings_.trickle_interval.count() > 0) {
        std::string one(1, front.bytes[front.taken++]);
        if (front.taken == front.bytes.size())
            queue_.pop_front();
        next_trickle_byte_ = now + settings_.trickle_interval;
        return one;
    }
    std::string all = std::move(front.bytes);
    queue_.pop_front();
    return all;
}

void session::wrote(std::string_view bytes)
{
    log_.out(channel_, bytes);
}

void session::closed()
{
    log_.close(channel_);
}

}  // namespace hvxsim
