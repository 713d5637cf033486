// The timer service's Win32 parts: the performance counter clock, the system
// timer queue's periodic tick, and PostMessage / WM_SETTEXT to windows.
#pragma once

#include <windows.h>

#include <functional>

#include "sched/timer_platform.h"

// QueryPerformanceCounter in milliseconds (through counter_to_ms, which
// cannot overflow); the frequency is asked for once, on the first reading.
// Where the machine has no such counter, GetTickCount64 (which, unlike the
// 32-bit tick count, does not wrap after 49.7 days).
class performance_counter_clock final : public timer_clock {
public:
    std::int64_t now_ms() override;
};

// A timer-queue timer (CreateTimerQueueTimer, default flags) whose callback
// runs the tick on a thread of the system's timer queue. stop() deletes it
// with a waiting completion (INVALID_HANDLE_VALUE), so it returns only when
// no callback runs any more.
class timer_queue_tick_source final : public timer_tick_source {
public:
    ~timer_queue_tick_source() override;
    bool start(std::function<void()> tick, int first_delay_ms, int period_ms) override;
    void stop() override;

private:
    static VOID CALLBACK on_timer(PVOID self, BOOLEAN timer_fired);

    std::function<void()> tick_;
    HANDLE timer_ = nullptr;
};

// Posts a due timer's message (WM_COMMAND with the identifier in wParam and
// the timer id in lParam, or the message itself with wParam 0) and sends
// WM_SETTEXT to the display control. A send from another thread waits at most
// a second for a busy windows' thread (the next tick writes the text again),
// so a tick never hangs on a thread that has stopped taking messages, and
// the service's destruction, which waits for a running tick, always ends.
class window_message_sink final : public timer_sink {
public:
    void post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id) override;
    bool set_text(timer_window control, const char* text) override;
};

// The three Win32 parts, made on first use and never freed: the program
// passes them to timer_service_use_platform at start-up.
timer_platform win32_timer_platform();
