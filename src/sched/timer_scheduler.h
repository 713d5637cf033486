// The timer service: a timer_list behind a lock, a periodic tick, and the
// actions of each tick performed through a timer_sink.
//
// Locking: the list mutex is held only while the list is read or changed,
// never while a text is sent to a control or a message is posted; the tick
// collects its actions under the lock and performs them after releasing it.
// So the windows' thread may add, remove and stop displays directly (a
// short wait at most), even though the tick sends texts to its controls
// and waits for that thread to take them.
//
// A tick that cannot take the mutex within 1 ms, or that starts while the
// previous one is still performing its actions, does nothing; the next tick
// tries again. Once a text is not taken in time, the tick posts its messages
// but leaves its other texts to the next tick. A tick may have collected a timer's message just before the
// timer is removed, so its owner must accept a late message (the id in
// lParam tells which timer sent it).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

#include "sched/timer_list.h"
#include "sched/timer_platform.h"

class timer_scheduler {
public:
    // ticks may be null: the owner then calls tick() itself (tests). With a
    // source, the ticks start here (first after 10 ms, then every 100 ms).
    timer_scheduler(timer_clock& clock, timer_sink& sink, timer_tick_source* ticks);
    // Stops the ticks and waits for a running tick to finish before the list
    // and the mutex go.
    ~timer_scheduler();

    timer_scheduler(const timer_scheduler&) = delete;
    timer_scheduler& operator=(const timer_scheduler&) = delete;

    // A one-shot timer: after interval_ms posts message to window (as a
    // WM_COMMAND identifier with as_command) with lParam = the returned id.
    std::int32_t add(double interval_ms, timer_window window, std::uint32_t message, bool as_command);

    // The same, and time_window shows the time left (countdown) or passed on
    // every tick. Its first text is written before this returns, on the
    // caller's thread.
    std::int32_t add_countdown(double interval_ms, timer_window window, std::uint32_t message,
                               timer_window time_window, bool countdown, bool as_command);

    // Takes the timer out; nothing when it is not pending. Always true.
    bool remove(std::int32_t id);

    // The timer's control is no longer updated; it keeps its last text. A
    // tick that is already under way may still write one more text.
    void stop_display(std::int32_t id);

    // One tick at the clock's present time.
    void tick();

    // Timers still pending (not yet fired or removed).
    std::size_t pending() const;
    // False when a tick source was given but could not be started.
    bool ticking() const { return ticking_; }

private:
    std::int32_t add_timer(const s_timer& timer);
    // False when a text was not taken in time.
    bool perform(const timer_action& action);

    timer_clock& clock_;
    timer_sink& sink_;
    timer_tick_source* ticks_;
    bool ticking_ = false;
    mutable std::mutex list_mutex_;
    timer_list list_;
    std::atomic<bool> tick_running_{false};
};
