// The main window's commands. Only the About box exists so far; the other
// menu commands do nothing until their parts are written.
#include "app/about_box_win32.h"
#include "app/main_window_win32.h"
#include "app/resource.h"

bool main_window_command(HWND window, int command)
{
    switch (command) {
    case IDM_ABOUT:
        show_about_box(window);
        return true;
    default:
        return false;
    }
}
