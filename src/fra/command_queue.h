// A command sink that keeps what the workers post, in order, for a caller
// without windows (the command-line tool, tests) to take on its own thread,
// as a window takes WM_COMMAND messages from its queue.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>

#include "fra/sweep_job.h"

struct s_posted_command {
    int command;
    std::intptr_t value;
};

class command_queue final : public command_sink {
public:
    void post(int command) override { post_value(command, 0); }
    void post_value(int command, std::intptr_t value) override;
    // The oldest command, waiting at most wait_ms of real time for one.
    std::optional<s_posted_command> take(int wait_ms);

private:
    std::mutex mutex_;
    std::condition_variable arrived_;
    std::deque<s_posted_command> commands_;
};
