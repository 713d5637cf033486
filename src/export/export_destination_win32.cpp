#include "export/export_destination_win32.h"

#include <commdlg.h>
#include <shlobj.h>

#include "app/folder_browser_win32.h"

namespace {

std::string documents_folder()
{
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : "";
}

}  // namespace

std::optional<std::string> system_export_destination::text_file()
{
    char name[MAX_PATH + 1] = {};
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.lpstrFilter = "Text File *.txt\0*.txt\0";
    dialog.lpstrFile = name;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrDefExt = "txt";
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY;
    if (!GetSaveFileNameA(&dialog)) {
        return std::nullopt;
    }
    return std::string(name);
}

std::optional<std::string> system_export_destination::folder()
{
    return browse_for_folder(owner_, "Select Export Location", documents_folder()).path;
}
