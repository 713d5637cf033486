// Portable parts of the timer service: the steady clock, a tick thread, and
// a sink for programs without windows.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

#include "sched/timer_platform.h"

// Milliseconds of std::chrono::steady_clock.
class steady_timer_clock final : public timer_clock {
public:
    std::int64_t now_ms() override;
};

// Ticks on a std::thread of its own, timed by the steady clock (a late tick
// does not shift the ones after it; ticks missed while one ran long are
// skipped, not caught up).
class thread_tick_source final : public timer_tick_source {
public:
    ~thread_tick_source() override;
    bool start(std::function<void()> tick, int first_delay_ms, int period_ms) override;
    void stop() override;

private:
    void run(std::function<void()> tick, int first_delay_ms, int period_ms);

    std::mutex mutex_;
    std::condition_variable wake_;
    bool stopping_ = false;
    std::thread thread_;
};

// For programs without windows: a timer's message and texts have nowhere to
// go, so they are traced (debug_output) rather than silently lost.
class trace_timer_sink final : public timer_sink {
public:
    void post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id) override;
    bool set_text(timer_window control, const char* text) override;
};

// The steady clock, a tick thread and the tracing sink, made on first use and
// never freed (the process-wide service may tick until the process ends).
timer_platform portable_timer_platform();
