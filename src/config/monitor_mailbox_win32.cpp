// The monitor control's mailbox and the monitor thread's sink that fills it.
#include "config/monitor_mailbox_win32.h"

#include "config/monitor_control_win32.h"

bool monitor_mailbox::put(const s_monitor_values& values)
{
    // Posting under the lock keeps close() from slipping in between the look
    // at the handle and the post: once close() returns, nothing is posted.
    // PostMessage never waits for the control's thread.
    const std::lock_guard<std::mutex> lock(mutex_);
    if (control_ == nullptr) {
        return false;
    }
    latest_ = values;
    if (!notice_posted_) {
        // A full queue refuses the post; the next reading tries again.
        notice_posted_ = PostMessageA(control_, MONITOR_MSG_READING_WAITING, 0, 0) != 0;
    }
    return true;
}

std::optional<s_monitor_values> monitor_mailbox::take()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    notice_posted_ = false;
    std::optional<s_monitor_values> reading;
    reading.swap(latest_);
    return reading;
}

void monitor_mailbox::close()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    control_ = nullptr;
    latest_.reset();
}

monitor_window_sink::monitor_window_sink(HWND control) : mailbox_(monitor_control_mailbox(control)) {}

void monitor_window_sink::show(const s_monitor_values& values)
{
    if (mailbox_) {
        mailbox_->put(values);
    }
}
