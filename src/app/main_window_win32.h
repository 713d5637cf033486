// The main window: its creation at start, its window procedure (creation,
// size, paint, destruction and commands) and the steps it runs while it is
// created and destroyed.
#pragma once

#include <windows.h>

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Sizes the main window for this system's frame (also its smallest size) and
// creates it, which runs the creation steps; nullptr when creation failed.
HWND create_main_window(HINSTANCE instance);

// The steps run while the window is created and destroyed (main_window_lifecycle_win32.cpp).
void main_window_created(HWND window);
void main_window_destroyed(HWND window);

// The main window's commands; false for those it leaves to the default procedure.
bool main_window_command(HWND window, int command);
