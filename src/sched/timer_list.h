// The list of pending timers and what one tick does with it at a given time:
// pure logic without locks, clocks or windows. A tick returns the actions
// (texts to set, messages to post) instead of performing them, so that the
// service can perform them after releasing its lock. The list is not
// thread-safe by itself: timer_scheduler guards it.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "sched/timer_display.h"
#include "sched/timer_platform.h"

// One pending timer. A timer is in the list from its addition until the tick
// at which it fires (or its removal), so every listed timer is still active.
struct s_timer {
    timer_window window;       // receives the message
    std::uint32_t message;     // the message, or the WM_COMMAND identifier with as_command
    double interval_ms;        // delay from start_ms
    std::int64_t start_ms;     // clock reading when the timer was added
    std::int32_t id;           // handed to the caller; 1, 2, ... never reused
    bool as_command;           // post WM_COMMAND with message as identifier
    bool show_time;            // keep time_window up to date on every tick
    timer_window time_window;  // text control that shows the time
    bool countdown;            // show the time left (else the time passed)
};

struct timer_action {
    enum class kind : unsigned char { set_text, post };
    kind what;
    timer_window window;  // the text control (set_text) or the receiver (post)
    std::uint32_t message;
    bool as_command;
    std::int32_t id;
    timer_text text;  // set_text only
};

struct timer_added {
    std::int32_t id;
    std::optional<timer_action> first_text;  // the display's text at the moment of adding
};

class timer_list {
public:
    // Appends timer with start_ms = now_ms and the next id (its own start_ms
    // and id are ignored). An interval that is not a number counts as 0.
    timer_added add(s_timer timer, std::int64_t now_ms);

    // Takes the first timer with this id out; false when there is none
    // (never added, already removed, or already fired).
    bool remove(std::int32_t id);

    // Ends the time display of this timer; the control keeps its last text.
    void stop_display(std::int32_t id);

    // One tick at now_ms, in list order: a timer that is due (now_ms >=
    // start_ms + interval_ms, in double precision) gets its display updated,
    // then its message posted, and leaves the list; one that is not yet due
    // gets its display updated. The actions are appended to actions.
    void tick(std::int64_t now_ms, std::vector<timer_action>& actions);

    std::size_t size() const { return timers_.size(); }
    bool empty() const { return timers_.empty(); }

private:
    std::vector<s_timer> timers_;
    std::uint32_t last_id_ = 0;
};
