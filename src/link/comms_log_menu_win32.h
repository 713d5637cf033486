// The "&Debug mode" item of the main menu (command 204): switches the comms
// log off, or asks for the folder of a fresh log and switches it on.
#pragma once

#include <windows.h>

inline constexpr UINT COMMS_LOG_MENU_COMMAND = 204;

// Runs the command with owner as the folder browser's owner, then sets the
// item's check mark in menu (when given) from the logging flag.
void comms_log_debug_mode_command(HWND owner, HMENU menu);

// Sets the item's check mark from the logging flag. Called when the menu
// opens, since a worker thread may have switched logging off meanwhile.
void comms_log_update_menu_check(HMENU menu);

// Reports an unwritable log in a message box without an owner window.
void comms_log_install_message_boxes();
