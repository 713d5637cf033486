#include "sched/timer_scheduler.h"

#include <chrono>
#include <thread>
#include <vector>

#include "app/debug_output.h"

namespace {

// The tick's wait for the list: at most about a millisecond, by polling (a
// plain mutex, which the thread checkers understand, rather than a timed one).
std::unique_lock<std::mutex> lock_within_a_millisecond(std::mutex& mutex)
{
    std::unique_lock lock(mutex, std::try_to_lock);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(1);
    while (!lock.owns_lock() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
        lock.try_lock();
    }
    return lock;
}

}  // namespace

timer_scheduler::timer_scheduler(timer_clock& clock, timer_sink& sink, timer_tick_source* ticks)
    : clock_(clock), sink_(sink), ticks_(ticks)
{
    if (ticks_ == nullptr) {
        return;
    }
    ticking_ = ticks_->start([this] { tick(); }, TIMER_FIRST_TICK_MS, TIMER_TICK_PERIOD_MS);
    if (!ticking_) {
        debug_output("Timer service: the periodic tick could not be started; timers will not fire\n");
    }
}

timer_scheduler::~timer_scheduler()
{
    if (ticks_ != nullptr) {
        ticks_->stop();
    }
}

std::int32_t timer_scheduler::add(double interval_ms, timer_window window, std::uint32_t message, bool as_command)
{
    s_timer timer{};
    timer.window = window;
    timer.message = message;
    timer.interval_ms = interval_ms;
    timer.as_command = as_command;
    return add_timer(timer);
}

std::int32_t timer_scheduler::add_countdown(double interval_ms, timer_window window, std::uint32_t message,
                                            timer_window time_window, bool countdown, bool as_command)
{
    s_timer timer{};
    timer.window = window;
    timer.message = message;
    timer.interval_ms = interval_ms;
    timer.as_command = as_command;
    timer.show_time = true;
    timer.time_window = time_window;
    timer.countdown = countdown;
    return add_timer(timer);
}

std::int32_t timer_scheduler::add_timer(const s_timer& timer)
{
    timer_added added;
    {
        const std::lock_guard lock(list_mutex_);
        added = list_.add(timer, clock_.now_ms());
    }
    if (added.first_text) {
        perform(*added.first_text);
    }
    return added.id;
}

bool timer_scheduler::remove(std::int32_t id)
{
    const std::lock_guard lock(list_mutex_);
    list_.remove(id);
    return true;
}

void timer_scheduler::stop_display(std::int32_t id)
{
    const std::lock_guard lock(list_mutex_);
    list_.stop_display(id);
}

std::size_t timer_scheduler::pending() const
{
    const std::lock_guard lock(list_mutex_);
    return list_.size();
}

void timer_scheduler::tick()
{
    // One tick at a time: a tick whose texts wait for a busy windows' thread
    // must not let further ticks pile up behind it.
    if (tick_running_.exchange(true)) {
        return;
    }
    std::vector<timer_action> actions;
    {
        const std::unique_lock lock = lock_within_a_millisecond(list_mutex_);
        if (lock.owns_lock() && !list_.empty()) {
            list_.tick(clock_.now_ms(), actions);
        }
    }
    // Once a text has not been taken in time, the windows' thread is busy:
    // the remaining texts wait for the next tick, the messages still go.
    bool texts_taken = true;
    for (const timer_action& action : actions) {
        if (texts_taken || action.what == timer_action::kind::post) {
            texts_taken = perform(action) && texts_taken;
        }
    }
    tick_running_ = false;
}

bool timer_scheduler::perform(const timer_action& action)
{
    if (action.what == timer_action::kind::post) {
        sink_.post(action.window, action.message, action.as_command, action.id);
        return true;
    }
    return action.window == nullptr || sink_.set_text(action.window, action.text.data());
}
