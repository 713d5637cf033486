#include "sched/timer_list.h"

#include <algorithm>
#include <cmath>

namespace {

timer_action display_action(const s_timer& timer, std::int64_t now_ms)
{
    timer_action action{};
    action.what = timer_action::kind::set_text;
    action.window = timer.time_window;
    action.id = timer.id;
    action.text = format_timer_display(timer_display_ms(timer.start_ms, timer.interval_ms, timer.countdown, now_ms));
    return action;
}

timer_action post_action(const s_timer& timer)
{
    timer_action action{};
    action.what = timer_action::kind::post;
    action.window = timer.window;
    action.message = timer.message;
    action.as_command = timer.as_command;
    action.id = timer.id;
    return action;
}

bool is_due(const s_timer& timer, std::int64_t now_ms)
{
    return static_cast<double>(now_ms) >= static_cast<double>(timer.start_ms) + timer.interval_ms;
}

}  // namespace

timer_added timer_list::add(s_timer timer, std::int64_t now_ms)
{
    ++last_id_;
    timer.id = static_cast<std::int32_t>(last_id_);
    timer.start_ms = now_ms;
    if (std::isnan(timer.interval_ms)) {
        timer.interval_ms = 0;
    }
    timers_.push_back(timer);

    timer_added added{timer.id, std::nullopt};
    if (timer.show_time) {
        added.first_text = display_action(timer, now_ms);
    }
    return added;
}

bool timer_list::remove(std::int32_t id)
{
    const auto found = std::find_if(timers_.begin(), timers_.end(), [id](const s_timer& t) { return t.id == id; });
    if (found == timers_.end()) {
        return false;
    }
    timers_.erase(found);
    return true;
}

void timer_list::stop_display(std::int32_t id)
{
    for (s_timer& timer : timers_) {
        if (timer.id == id) {
            timer.show_time = false;
            timer.time_window = nullptr;
            return;
        }
    }
}

void timer_list::tick(std::int64_t now_ms, std::vector<timer_action>& actions)
{
    auto timer = timers_.begin();
    while (timer != timers_.end()) {
        if (timer->show_time) {
            actions.push_back(display_action(*timer, now_ms));
        }
        if (is_due(*timer, now_ms)) {
            actions.push_back(post_action(*timer));
            timer = timers_.erase(timer);
        } else {
            ++timer;
        }
    }
}
