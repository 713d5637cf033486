// Plays the user against a modal dialog of this thread (Windows only): a
// thread timer runs one step per tick against the open, visible dialog with
// the given title, while the test's call that opens the dialog waits in its
// modal loop. Steps type into edits, choose list entries and press buttons
// the way the controls' notifications reach the dialog.
#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

using user_step = std::function<void(HWND dialog)>;

struct user_script {
    std::vector<user_step> steps;
    std::size_t next = 0;
    std::string title;
};

namespace dialog_user_script_detail {

inline user_script*& running_script()
{
    static user_script* script = nullptr;
    return script;
}

inline HWND find_dialog(const std::string& title)
{
    struct s_search {
        const std::string* title;
        HWND found;
    } search{&title, nullptr};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            auto* wanted = reinterpret_cast<s_search*>(param);
            char text[64] = {};
            GetWindowTextA(window, text, sizeof text);
            if (IsWindowVisible(window) && *wanted->title == text) {
                wanted->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

inline void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD)
{
    user_script* script = running_script();
    if (script == nullptr || script->next >= script->steps.size()) {
        return;
    }
    if (HWND dialog = find_dialog(script->title)) {
        script->steps[script->next++](dialog);
    }
}

}  // namespace dialog_user_script_detail

// Runs open_dialog with the script playing the user; returns what it returned.
template <typename F>
auto with_user(user_script& script, F&& open_dialog)
{
    dialog_user_script_detail::running_script() = &script;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, dialog_user_script_detail::on_tick);
    const auto result = open_dialog();
    KillTimer(nullptr, timer);
    dialog_user_script_detail::running_script() = nullptr;
    return result;
}

inline void type(HWND dialog, int id, const char* text)
{
    SetDlgItemTextA(dialog, id, text);
}

inline void choose(HWND dialog, int combo, int index)
{
    SendDlgItemMessageA(dialog, combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(combo, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, combo)));
}

inline void press(HWND dialog, int button)
{
    SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

inline bool shown(HWND dialog, int id)
{
    return IsWindowVisible(GetDlgItem(dialog, id)) != FALSE;
}

inline bool enabled(HWND dialog, int id)
{
    return IsWindowEnabled(GetDlgItem(dialog, id)) != FALSE;
}

inline std::string text_of(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}
