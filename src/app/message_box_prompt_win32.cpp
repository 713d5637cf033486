#include "app/message_box_prompt_win32.h"

UINT message_box_icon_style(prompt_icon icon)
{
    switch (icon) {
    case prompt_icon::information:
        return MB_ICONINFORMATION;
    case prompt_icon::warning:
        return MB_ICONWARNING;
    case prompt_icon::error:
        return MB_ICONERROR;
    case prompt_icon::question:
        return MB_ICONQUESTION;
    case prompt_icon::none:
        break;
    }
    return 0;
}

void message_box_prompt::tell(const char* text, const char* caption, prompt_icon icon)
{
    MessageBoxA(owner_, text, caption, MB_OK | message_box_icon_style(icon));
}

bool message_box_prompt::ask_yes_no(const char* text, const char* caption, prompt_icon icon)
{
    return MessageBoxA(owner_, text, caption, MB_YESNO | message_box_icon_style(icon)) == IDYES;
}

bool message_box_prompt::ask_ok_cancel(const char* text, const char* caption, prompt_icon icon)
{
    return MessageBoxA(owner_, text, caption, MB_OKCANCEL | message_box_icon_style(icon)) == IDOK;
}

void message_box_prompt::set_busy(bool busy)
{
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        previous_cursor_ = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    } else {
        SetCursor(previous_cursor_);
        previous_cursor_ = nullptr;
    }
}
