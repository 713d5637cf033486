// user_prompt for the window layer: message boxes owned by a chosen window,
// and the wait cursor.
#pragma once

#include <windows.h>

#include "app/user_prompt.h"

// The MessageBox style bits of an icon (0 for none).
UINT message_box_icon_style(prompt_icon icon);

class message_box_prompt final : public user_prompt {
public:
    // owner may be nullptr (a box owned by no window).
    explicit message_box_prompt(HWND owner) : owner_(owner) {}

    void tell(const char* text, const char* caption, prompt_icon icon) override;
    bool ask_yes_no(const char* text, const char* caption, prompt_icon icon) override;
    bool ask_ok_cancel(const char* text, const char* caption, prompt_icon icon) override;
    // On: shows the wait cursor, remembering the cursor it replaced;
    // off: puts that cursor back. Repeated calls with the same state do nothing.
    void set_busy(bool busy) override;

private:
    HWND owner_;
    bool busy_ = false;
    HCURSOR previous_cursor_ = nullptr;
};
