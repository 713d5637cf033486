// What the timer service needs from its platform, so that its logic stays in
// the core: a millisecond clock, a periodic tick, and the two things a timer
// does to windows (post a message, set a control's text). The Win32 layer
// gives the performance counter, the system timer queue and PostMessage /
// WM_SETTEXT (timer_platform_win32.h); the portable parts are a steady clock
// and a tick thread (timer_platform_portable.h); tests use a fake clock and a
// recording sink and call the tick themselves.
#pragma once

#include <cstdint>
#include <functional>

// A window handle (HWND on Windows), opaque to the core.
using timer_window = void*;

class timer_clock {
public:
    virtual ~timer_clock() = default;
    // Milliseconds from an arbitrary start; never goes backwards.
    virtual std::int64_t now_ms() = 0;
};

class timer_tick_source {
public:
    virtual ~timer_tick_source() = default;
    // Calls tick first after first_delay_ms and then every period_ms, on a
    // thread that is not the caller's, until stop(). False when the ticks
    // could not be started. Called at most once per source.
    virtual bool start(std::function<void()> tick, int first_delay_ms, int period_ms) = 0;
    // Ends the ticks and returns only when no tick is running any more, so
    // that whatever a tick uses may be freed afterwards. Never call it from
    // inside a tick. Calling it again, or without start, does nothing.
    virtual void stop() = 0;
};

class timer_sink {
public:
    virtual ~timer_sink() = default;
    // A due timer's message: with as_command WM_COMMAND with wParam =
    // message, otherwise message with wParam = 0; lParam is the timer's id
    // in both. Must not wait for the window's thread.
    virtual void post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id) = 0;
    // The time display: the control's text becomes text. May be called from
    // the tick's thread and from the thread that adds a timer. False when
    // the control's thread did not take the text in time: the tick then
    // leaves its remaining texts to the next tick rather than wait for each.
    virtual bool set_text(timer_window control, const char* text) = 0;
};

// The three parts the process-wide service is made of (none owned by it).
struct timer_platform {
    timer_clock* clock;
    timer_tick_source* ticks;
    timer_sink* sink;
};

// The service's tick: first 10 ms after creation, then every 100 ms.
inline constexpr int TIMER_FIRST_TICK_MS = 10;
inline constexpr int TIMER_TICK_PERIOD_MS = 100;
