// The program's window classes, registered once at start. Every class has the
// arrow cursor, the button-face background and small icon 101; only the main
// window's class also has the large icon 101 and the main menu.
#pragma once

#include <windows.h>

inline constexpr char main_window_class_name[] = "ZVCorvexa2WClass";

struct s_window_class {
    const char* name;
    WNDPROC procedure;
    bool has_menu_and_large_icon;
};

// Every class of the program, the main window's first.
const s_window_class* window_class_table(int* count);

// Registers every class of the table; false when any registration failed.
bool register_window_classes(HINSTANCE instance);
