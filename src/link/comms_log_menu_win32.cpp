#include "link/comms_log_menu_win32.h"

#include <string>

#include "app/folder_browser_win32.h"
#include "app/message_box_prompt_win32.h"
#include "link/comms_log.h"

namespace {

// The folder holding the current log file, offered as the browser's first
// selection ("" when there is none).
std::string current_log_folder()
{
    const std::string path = comms_log_path();
    const std::size_t cut = path.find_last_of("\\/");
    return cut == std::string::npos ? std::string() : path.substr(0, cut);
}

void choose_log_folder(HWND owner)
{
    const s_folder_choice choice =
        browse_for_folder(owner, "Select a folder for the COMMSLOG file to be written to", current_log_folder());
    if (!choice.chosen) {
        return;  // cancelled
    }
    if (choice.path) {
        comms_log_start_in_folder(*choice.path, true);
    } else {
        MessageBoxA(owner, "Invalid Directory Selected", "Error", MB_OK | MB_ICONINFORMATION);
    }
}

}  // namespace

void comms_log_debug_mode_command(HWND owner, HMENU menu)
{
    if (comms_log_enabled()) {
        comms_log_set_enabled(false);
    } else {
        choose_log_folder(owner);
    }
    comms_log_update_menu_check(menu);
}

void comms_log_update_menu_check(HMENU menu)
{
    if (menu) {
        CheckMenuItem(menu, COMMS_LOG_MENU_COMMAND,
                      MF_BYCOMMAND | (comms_log_enabled() ? MF_CHECKED : MF_UNCHECKED));
    }
}

void comms_log_install_message_boxes()
{
    static message_box_prompt no_owner(nullptr);
    comms_log_use_prompt(&no_owner);
}
