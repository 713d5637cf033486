#include "app/folder_browser_win32.h"

#include <shlobj.h>

namespace {

int CALLBACK browse_callback(HWND window, UINT message, LPARAM, LPARAM data)
{
    if (message == BFFM_INITIALIZED && data != 0) {
        SendMessageA(window, BFFM_SETSELECTIONA, TRUE, data);
    }
    return 0;
}

}  // namespace

s_folder_choice browse_for_folder(HWND owner, const char* title, const std::string& start)
{
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.lpszTitle = title;
    info.ulFlags = BIF_NEWDIALOGSTYLE | BIF_EDITBOX;
    info.lpfn = browse_callback;
    info.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    s_folder_choice choice;
    if (!item) {
        return choice;
    }
    choice.chosen = true;
    char folder[MAX_PATH] = {};
    if (SHGetPathFromIDListA(item, folder)) {
        choice.path = folder;
    }
    CoTaskMemFree(item);
    return choice;
}
