#include "link/comms_log_menu_win32.h"

#include <shlobj.h>

#include <string>

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

int CALLBACK browse_callback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

void choose_log_folder(HWND owner)
{
    const std::string start = current_log_folder();
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = "Select a folder for the COMMSLOG file to be written to";
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    info.lpfn = browse_callback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    if (!item) {
        return;  // cancelled
    }
    char folder[MAX_PATH] = {};
    if (SHGetPathFromIDListA(item, folder)) {
        comms_log_start_in_folder(folder, true);
    } else {
        MessageBoxA(owner, "Invalid Directory Selected", "Error", MB_OK | MB_ICONINFORMATION);
    }
    CoTaskMemFree(item);
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
