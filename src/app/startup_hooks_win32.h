// The places where the main window's start-up and shut-down call into parts of
// the program that are not written yet. Each hook does nothing until its part
// fills it; they are called in the order start-up needs them.
#pragma once

#include <windows.h>

// Before the main window exists: bring every control table to its current coordinates.
void hook_scale_control_tables();
// While the main window is created, in this order:
void hook_create_controls(HWND main_window);           // every child window and control
void hook_set_tool_button_icons(HWND main_window);     // the database view's tool buttons
void hook_create_configuration_objects();              // the four configuration objects
void hook_post_startup_commands(HWND main_window);     // first page and view, menu highlight
void hook_attach_monitor_display(HWND main_window);    // the generator monitor display
// When the main window's size changes (not while minimised).
void hook_layout_main_window(HWND main_window);
// While the main window is destroyed, in this order:
void hook_close_database();
void hook_stop_monitor();
