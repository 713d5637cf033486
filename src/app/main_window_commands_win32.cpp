// The main window's commands. The About box, the software options and the
// comms log switch exist so far; the other menu commands do nothing until
// their parts are written.
#include "app/about_box_win32.h"
#include "app/main_window_win32.h"
#include "app/resource.h"
#include "app/software_options_dialog_win32.h"
#include "link/comms_log_menu_win32.h"

bool main_window_command(HWND window, int command)
{
    switch (command) {
    case IDM_ABOUT:
        show_about_box(window);
        return true;
    case IDM_SETTINGS:
        software_options_dialog(window);
        return true;
    case IDM_DEBUG_MODE:
        comms_log_debug_mode_command(window, GetMenu(window));
        return true;
    default:
        return false;
    }
}
