#include "fra/window_command_sink_win32.h"

void window_command_sink::post(int command)
{
    if (window_ != nullptr) {
        PostMessageA(window_, WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
}
