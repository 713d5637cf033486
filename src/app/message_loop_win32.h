// The main thread's message loop: accelerators first, against the main window.
#pragma once

#include <windows.h>

// Runs until WM_QUIT and returns its exit code (1 when the loop itself failed).
int run_message_loop(HWND main_window, HACCEL accelerators);
