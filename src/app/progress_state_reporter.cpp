#include "app/progress_state_reporter.h"

#include <utility>

progress_state_reporter::progress_state_reporter(progress_clock clock) : state_(std::move(clock)) {}

void progress_state_reporter::report(int command, std::intptr_t value, const char* text)
{
    const std::lock_guard lock(mutex_);
    const progress_event event = state_.apply(command, value, text);
    if (event == progress_event::ignored) {
        return;
    }
    if (ending_ == progress_event::ignored &&
        (event == progress_event::finished || event == progress_event::cancelled)) {
        ending_ = event;
    }
    show(state_.view(), event);
}

progress_event progress_state_reporter::ending() const
{
    const std::lock_guard lock(mutex_);
    return ending_;
}
