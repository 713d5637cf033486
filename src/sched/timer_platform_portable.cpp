#include "sched/timer_platform_portable.h"

#include <chrono>
#include <cstdio>

#include "app/debug_output.h"

std::int64_t steady_timer_clock::now_ms()
{
    const auto since_start = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::milliseconds>(since_start).count();
}

thread_tick_source::~thread_tick_source()
{
    stop();
}

bool thread_tick_source::start(std::function<void()> tick, int first_delay_ms, int period_ms)
{
    if (thread_.joinable() || !tick || period_ms <= 0) {
        return false;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = false;
    }
    thread_ = std::thread(&thread_tick_source::run, this, std::move(tick), first_delay_ms, period_ms);
    return true;
}

void thread_tick_source::stop()
{
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.get_id() == std::this_thread::get_id()) {
        // Misuse from inside a tick: joining would never return. The thread
        // ends by itself after this tick.
        thread_.detach();
        return;
    }
    thread_.join();
}

void thread_tick_source::run(std::function<void()> tick, int first_delay_ms, int period_ms)
{
    using clock = std::chrono::steady_clock;
    const std::chrono::milliseconds period(period_ms);
    auto next = clock::now() + std::chrono::milliseconds(first_delay_ms > 0 ? first_delay_ms : 0);
    std::unique_lock lock(mutex_);
    for (;;) {
        if (wake_.wait_until(lock, next, [this] { return stopping_; })) {
            return;
        }
        lock.unlock();
        tick();
        lock.lock();
        next += period;
        const auto now = clock::now();
        if (next < now) {
            next = now + period;
        }
    }
}

void trace_timer_sink::post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id)
{
    char text[128];
    std::snprintf(text, sizeof text, "Timer %d due: %s %u for window %p, which no window system receives\n",
                  static_cast<int>(id), as_command ? "command" : "message", static_cast<unsigned>(message), window);
    debug_output(text);
}

bool trace_timer_sink::set_text(timer_window, const char*)
{
    return true;
}

timer_platform portable_timer_platform()
{
    static auto* const clock = new steady_timer_clock;
    static auto* const ticks = new thread_tick_source;
    static auto* const sink = new trace_timer_sink;
    return timer_platform{clock, ticks, sink};
}
