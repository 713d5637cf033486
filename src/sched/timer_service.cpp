#include "sched/timer_service.h"

#include <mutex>
#include <optional>

#include "sched/timer_platform_portable.h"

namespace {

std::mutex platform_mutex;
std::optional<timer_platform> chosen_platform;  // guarded by platform_mutex
bool platform_in_use = false;                   // guarded by platform_mutex

timer_platform use_platform()
{
    const std::lock_guard lock(platform_mutex);
    if (!chosen_platform) {
        chosen_platform = portable_timer_platform();
    }
    platform_in_use = true;
    return *chosen_platform;
}

}  // namespace

bool timer_service_use_platform(const timer_platform& platform)
{
    if (platform.clock == nullptr || platform.sink == nullptr) {
        return false;
    }
    const std::lock_guard lock(platform_mutex);
    if (platform_in_use) {
        return false;
    }
    chosen_platform = platform;
    return true;
}

timer_scheduler& timer_service()
{
    // Destroyed at exit before the platform parts it uses (they are made
    // first, or never freed); its destructor waits for a running tick.
    static const timer_platform platform = use_platform();
    static timer_scheduler service(*platform.clock, *platform.sink, platform.ticks);
    return service;
}

std::int32_t timer_add(double interval_ms, timer_window window, std::uint32_t message, bool as_command)
{
    return timer_service().add(interval_ms, window, message, as_command);
}

std::int32_t timer_add_countdown(double interval_ms, timer_window window, std::uint32_t message,
                                 timer_window time_window, bool countdown, bool as_command)
{
    return timer_service().add_countdown(interval_ms, window, message, time_window, countdown, as_command);
}

bool timer_remove(std::int32_t id)
{
    return timer_service().remove(id);
}

void timer_stop_display(std::int32_t id)
{
    timer_service().stop_display(id);
}

std::int64_t timer_now_ms()
{
    static timer_clock* const clock = use_platform().clock;
    return clock->now_ms();
}
