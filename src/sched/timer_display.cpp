#include "sched/timer_display.h"

#include <cstdio>

namespace {

constexpr double largest_display_ms = 4.0e18;  // below 2^62: the cast stays defined

}  // namespace

std::int64_t timer_display_ms(std::int64_t start_ms, double interval_ms, bool countdown, std::int64_t now_ms)
{
    const double value = countdown ? static_cast<double>(start_ms) + interval_ms - static_cast<double>(now_ms)
                                   : static_cast<double>(now_ms) - static_cast<double>(start_ms);
    if (!(value > 0)) {  // also a NaN
        return 0;
    }
    if (value >= largest_display_ms) {
        return static_cast<std::int64_t>(largest_display_ms);
    }
    return static_cast<std::int64_t>(value);
}

timer_text format_timer_display(std::int64_t value_ms)
{
    if (value_ms < 0) {
        value_ms = 0;
    }
    const int hours = static_cast<int>(value_ms / 3600000 % 24);
    const int minutes = static_cast<int>(value_ms / 60000 % 60);
    const int seconds = static_cast<int>(value_ms / 1000 % 60);
    timer_text text{};
    std::snprintf(text.data(), text.size(), "%02d:%02d:%02d\n", hours, minutes, seconds);
    return text;
}
