#include "app/startup_hooks_win32.h"

#include "config/config_selection.h"

void hook_scale_control_tables() {}
void hook_create_controls(HWND) {}
void hook_set_tool_button_icons(HWND) {}
void hook_create_configuration_objects() { config_objects_create(); }
void hook_post_startup_commands(HWND) {}
void hook_attach_monitor_display(HWND) {}
void hook_layout_main_window(HWND) {}
void hook_close_database() {}
void hook_stop_monitor() {}
