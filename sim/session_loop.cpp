#include "sim/session_loop.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <thread>

namespace hvxsim {

namespace {

// Longest single wait, so a stop request is noticed promptly.
constexpr int max_wait_ms = 100;

using time_point = session::clock::time_point;

int wait_until(std::optional<time_point> due, time_point now)
{
    if (!due)
        return max_wait_ms;
    if (*due <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    return static_cast<int>(std::min<long long>(ms, max_wait_ms));
}

std::optional<time_point> earlier(std::optional<time_point> a, std::optional<time_point> b)
{
    if (!a)
        return b;
    if (!b)
        return a;
    return std::min(*a, *b);
}

}  // namespace

void run_session(byte_channel& channel, session& conversation, const std::atomic<bool>& stop)
{
    char buffer[4096];
    bool input_open = true;
    while (!stop) {
        const auto idle_deadline = conversation.idle_deadline();
        if (idle_deadline && *idle_deadline <= session::clock::now()) {
            conversation.dropped(drop_reason::idle);
            break;
        }
        // At most one write per turn, so input (a reset) is still read
        // between the lines of a fast stream.
        const std::string chunk = conversation.take_output(session::clock::now());
        if (!chunk.empty()) {
            const auto status = channel.write(chunk, stop);
            if (status == byte_channel::write_status::stalled)
                conversation.dropped(drop_reason::not_reading);
            if (status != byte_channel::write_status::written)
                break;
            conversation.wrote(chunk, session::clock::now());
        }
        if (!input_open && !conversation.replies_pending())
            break;

        const int wait_ms =
            chunk.empty()
                ? wait_until(earlier(conversation.next_write_time(), conversation.idle_deadline()),
                             session::clock::now())
                : 0;
        if (!input_open) {
            std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
            continue;
        }
        const auto result = channel.read(buffer, sizeof buffer, wait_ms);
        if (result.status == byte_channel::read_status::data) {
            conversation.received(std::string_view(buffer, result.count), session::clock::now());
        } else if (result.status == byte_channel::read_status::ended) {
            conversation.input_ended();
            input_open = false;
        }
    }
}

}  // namespace hvxsim
