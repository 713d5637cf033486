// user_prompt for a worker thread: its message boxes are owned by the
// progress dialog while one is open, so that they stay in front of it and
// keep it disabled until answered; with no dialog open, by the window given.
//
// A box is shown on the worker's own thread. The owner's thread (the main
// thread) must handle sent messages while the box is up, as the dialog's
// modal loop does and as its waits for the worker do
// (wait_handling_sent_messages); nothing here waits for the main thread.
#pragma once

#include <windows.h>

#include "app/user_prompt.h"

class worker_prompt final : public user_prompt {
public:
    // owner_without_dialog may be nullptr (a box owned by no window).
    explicit worker_prompt(HWND owner_without_dialog) : fallback_owner_(owner_without_dialog) {}

    void tell(const char* text, const char* caption, prompt_icon icon) override;
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override;
    bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon) override;
    // Nothing: the cursor belongs to the main thread, and the progress
    // dialog already shows that work is going on.
    void set_busy(bool) override {}

    // The window a box shown now would be owned by.
    HWND owner() const;

private:
    int show(const char* text, const char* caption, UINT style) const;

    HWND fallback_owner_;
};
