// Finding the program's windows from another process.
#pragma once

#include <windows.h>

#include <string>

// "-" or "" stands for any class or any title.
HWND find_top_window(const std::string& class_name, const std::string& title);
// A dialog box (class "#32770") with exactly this title.
HWND find_dialog(const std::string& title);
// Polls condition every 50 ms until it is true (true) or seconds have passed (false).
template <typename Condition>
bool wait_until(Condition condition, double seconds)
{
    const ULONGLONG deadline = GetTickCount64() + static_cast<ULONGLONG>(seconds * 1000.0);
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        Sleep(50);
    }
}
// Waits for find to give a window; nullptr when it did not in time.
template <typename Find>
HWND wait_for(Find find, double seconds)
{
    HWND found = nullptr;
    wait_until([&] { return (found = find()) != nullptr; }, seconds);
    return found;
}
// The text of a window of another process (WM_GETTEXT works across processes).
std::string window_text(HWND window);
std::string class_name_of(HWND window);
