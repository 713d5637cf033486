// The way a reading takes from the monitor thread to the monitor control.
//
// The monitor thread must never send to a window: the main thread may be
// inside monitor_stop, joining the monitor thread, and a send would then wait
// for it forever while it waits for the send. So the monitor thread only
// leaves its copy of the values in the control's mailbox (one slot: the
// latest reading replaces one not yet shown) and posts the control
// MONITOR_MSG_READING_WAITING, at most one notice at a time. The control takes
// the reading on its own thread and shows it through monitor_show.
//
// Ownership: the control and every sink share the mailbox. When the control
// is destroyed it closes the mailbox; readings put after that are dropped and
// nothing more is posted, so no notice ever reaches a window handle reused by
// another window, and nothing posted owns memory that a lost message would
// leak.
#pragma once

#include <windows.h>

#include <memory>
#include <mutex>
#include <optional>

#include "config/monitor_display.h"
#include "config/monitor_thread.h"

class monitor_mailbox {
public:
    explicit monitor_mailbox(HWND control) : control_(control) {}

    // Any thread: keeps values as the latest reading and posts the control a
    // notice unless one is on its way. False when the reading was dropped
    // (the control has gone).
    bool put(const s_monitor_values& values);
    // Control's thread, on the notice: the latest reading, if one waits. A
    // reading put after this posts a new notice.
    std::optional<s_monitor_values> take();
    // Control's thread, while it is destroyed: nothing is posted after this.
    void close();

private:
    std::mutex mutex_;
    HWND control_;  // null once closed
    std::optional<s_monitor_values> latest_;
    bool notice_posted_ = false;
};

// The monitor thread's sink for a monitor control: show puts the copy in the
// control's mailbox and returns at once. Made on the control's thread; a
// sink for a window that is no monitor control drops every reading. It may
// outlive the control.
class monitor_window_sink final : public monitor_sink {
public:
    explicit monitor_window_sink(HWND control);
    void show(const s_monitor_values& values) override;

private:
    std::shared_ptr<monitor_mailbox> mailbox_;
};
