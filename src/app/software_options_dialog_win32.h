// The modal "Software Options" dialog (resource 210), opened by the main
// window's "&Settings..." command: the export number format's locale choice,
// the custom separators and an example. Its rules are software_options_model.h;
// this file moves texts between the model and the controls.
#pragma once

#include <windows.h>

#include <string>

class number_conventions;
class profile_store;
class user_prompt;

// What the dialog works with; null members take the program's own (message
// boxes owned by no window, the system's conventions, the platform's profile
// store and the main settings file).
struct s_software_options_setup {
    user_prompt* prompt = nullptr;
    number_conventions* conventions = nullptr;
    profile_store* store = nullptr;
    const std::string* settings_file = nullptr;
};

// IDOK after "OK" (the choice stored), IDCANCEL after "Cancel" or Escape.
int software_options_dialog(HWND owner, const s_software_options_setup& setup = {});
