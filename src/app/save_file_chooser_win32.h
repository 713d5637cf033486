// The system's Save As dialog, behind a seam so that tests can answer it.
#pragma once

#include <windows.h>

#include <string>

struct s_save_file_request {
    HWND owner = nullptr;
    const char* title = nullptr;      // null: the system's own
    const char* file_name = "";       // the name the dialog starts with ("*.bmp")
    const char* filter = nullptr;     // pairs of NUL-ended texts, ended by a second NUL; null: none
    const char* default_extension = nullptr;  // added to a name typed without one; null: none
    bool hide_read_only = true;
    bool path_must_exist = true;
    bool overwrite_prompt = false;  // ask before a file that exists is replaced
};

// The chosen path, or false when the user cancelled (or the dialog failed).
using save_file_chooser = bool (*)(const s_save_file_request& request, std::string* path);

bool choose_save_file(const s_save_file_request& request, std::string* path);

// Replaces the dialog (tests); null puts the system's back.
void use_save_file_chooser(save_file_chooser chooser);
