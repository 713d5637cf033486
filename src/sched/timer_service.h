// The process-wide timer service and its free functions, as the windows of
// the program use them: the progress dialog has its start command posted to
// itself a second after it opens; the measurement views time the next sweep
// of a series and show the countdown in their status field.
//
// The service is made on first use from the platform chosen with
// timer_service_use_platform (the Win32 program chooses
// win32_timer_platform() at start-up), or else from the portable parts. It
// lives until the process ends; at exit its ticks are stopped, waiting for a
// tick that is running, before the list goes.
#pragma once

#include <cstdint>

#include "sched/timer_platform.h"
#include "sched/timer_scheduler.h"

// Chooses the parts of the process-wide service and of timer_now_ms. Only
// before their first use: false (and nothing changes) afterwards. The parts
// must live until the process ends.
bool timer_service_use_platform(const timer_platform& platform);

timer_scheduler& timer_service();

std::int32_t timer_add(double interval_ms, timer_window window, std::uint32_t message, bool as_command);
std::int32_t timer_add_countdown(double interval_ms, timer_window window, std::uint32_t message,
                                 timer_window time_window, bool countdown, bool as_command);
bool timer_remove(std::int32_t id);
void timer_stop_display(std::int32_t id);

// The service's clock: milliseconds from an arbitrary start, never backwards.
std::int64_t timer_now_ms();
