// Process-wide state of the program shell, owned by the main thread: the
// instance handle, the main window, whether this thread owes CoUninitialize,
// the logo button's bitmap and the main window's initial (and smallest) size.
#pragma once

#include <windows.h>

#include "app/main_window_size.h"

struct s_app_state {
    HINSTANCE instance = nullptr;
    HWND main_window = nullptr;
    bool com_uninitialize_owed = false;
    HBITMAP logo_bitmap = nullptr;
    s_window_extent initial_size = main_window_design_size;
};

s_app_state& app_state();
