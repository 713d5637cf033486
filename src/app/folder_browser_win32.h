// The shell's folder browser as the program opens it: new dialog style with
// an edit box, a first selection, owned by a window.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

struct s_folder_choice {
    bool chosen = false;               // false when the user cancelled
    std::optional<std::string> path;   // the folder's file-system path; nullopt when it has none
};

// start: the folder selected when the browser opens ("" for none).
s_folder_choice browse_for_folder(HWND owner, const char* title, const std::string& start);
