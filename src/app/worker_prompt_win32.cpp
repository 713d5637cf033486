#include "app/worker_prompt_win32.h"

#include "app/message_box_prompt_win32.h"
#include "app/progress_dialog_win32.h"

HWND worker_prompt::owner() const
{
    const HWND dialog = progress_dialog_window();
    return dialog != nullptr ? dialog : fallback_owner_;
}

// The dialog may close between the choice of owner and the box (its window
// then no longer exists and no box appears): the box is shown again, owned
// by the window it would have had without the dialog.
int worker_prompt::show(const char* text, const char* caption, UINT style) const
{
    const HWND chosen = owner();
    const int answer = MessageBoxA(chosen, text, caption, style);
    if (answer == 0 && chosen != fallback_owner_ && !IsWindow(chosen)) {
        return MessageBoxA(fallback_owner_, text, caption, style);
    }
    return answer;
}

void worker_prompt::tell(const char* text, const char* caption, prompt_icon icon)
{
    show(text, caption, MB_OK | message_box_icon_style(icon));
}

bool worker_prompt::ask_yes_no(const char* text, const char* caption, prompt_icon icon)
{
    return show(text, caption, MB_YESNO | message_box_icon_style(icon)) == IDYES;
}

bool worker_prompt::ask_ok_cancel(const char* text, const char* caption, prompt_icon icon)
{
    return show(text, caption, MB_OKCANCEL | message_box_icon_style(icon)) == IDOK;
}
