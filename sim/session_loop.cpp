#include "sim/session_loop.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace hvxsim {

namespace {

// Longest single wait, so a stop request is noticed promptly.
constexpr int max_wait_ms = 100;

int wait_until(std::optional<session::clock::time_point> due, session::clock::time_point now)
{
    if (!due)
        return max_wait_ms;
    if (*due <= now)
        return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(*due - now).count();
    return static_cast<int>(std::min<long long>(ms, max_wait_ms));
}

}  // namespace

void run_session(byte_channel& channel, session& conversation, const std::atomic<bool>& stop)
{
    char buffer[4096];
    bool input_open = true;
    while (!stop) {
        // At most one write per turn, so input (a reset) is still read
        // between the lines of a fast stream.
        const std::string chunk = conversation.take_output(session::clock::now());
        if (!chunk.empty()) {
            if (!channel.write(chunk, stop))
                break;
            conversation.wrote(chunk);
        }
        if (!input_open && !conversation.replies_pending())
            break;

        const int wait_ms = chunk.empty() ? wait_until(conversation.next_write_time(), session::clock::now()) : 0;
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
