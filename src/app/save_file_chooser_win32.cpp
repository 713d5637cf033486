#include "app/save_file_chooser_win32.h"

#include <commdlg.h>

#include <atomic>
#include <cstring>

namespace {

bool system_chooser(const s_save_file_request& request, std::string* path)
{
    char file[MAX_PATH] = {};
    if (request.file_name) {
        std::strncpy(file, request.file_name, sizeof file - 1);
    }
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = request.owner;
    dialog.lpstrFilter = request.filter;
    dialog.lpstrFile = file;
    dialog.nMaxFile = sizeof file;
    dialog.lpstrTitle = request.title;
    dialog.lpstrDefExt = request.default_extension;
    dialog.Flags = (request.hide_read_only ? OFN_HIDEREADONLY : 0) |
                   (request.path_must_exist ? OFN_PATHMUSTEXIST : 0) |
                   (request.overwrite_prompt ? OFN_OVERWRITEPROMPT : 0);
    if (!GetSaveFileNameA(&dialog)) {
        return false;
    }
    *path = file;
    return true;
}

std::atomic<save_file_chooser> chooser{nullptr};

}  // namespace

bool choose_save_file(const s_save_file_request& request, std::string* path)
{
    const save_file_chooser replaced = chooser.load();
    return (replaced ? replaced : system_chooser)(request, path);
}

void use_save_file_chooser(save_file_chooser replacement)
{
    chooser.store(replacement);
}
