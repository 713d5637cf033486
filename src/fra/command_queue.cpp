#include "fra/command_queue.h"

#include <chrono>

void command_queue::post_value(int command, std::intptr_t value)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        commands_.push_back({command, value});
    }
    arrived_.notify_all();
}

std::optional<s_posted_command> command_queue::take(int wait_ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    if (!arrived_.wait_for(lock, std::chrono::milliseconds(wait_ms), [&] { return !commands_.empty(); })) {
        return std::nullopt;
    }
    const s_posted_command taken = commands_.front();
    commands_.pop_front();
    return taken;
}
