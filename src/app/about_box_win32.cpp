#include "app/about_box_win32.h"

#include <string>

#include "app/message_box_prompt_win32.h"
#include "app/program_identity.h"

void show_about_box(HWND owner)
{
    const std::string text = std::string(program_name) + " version " + program_version() +
                             "\n\nCompanion program of the HVX instruments.";
    message_box_prompt(owner).tell(text.c_str(), program_name, prompt_icon::information);
}
