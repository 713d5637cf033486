// What the main window does while it is created and destroyed.
#include <windows.h>
#include <commctrl.h>

#include "app/app_state_win32.h"
#include "app/com_apartment_win32.h"
#include "app/main_window_win32.h"
#include "app/message_box_prompt_win32.h"
#include "app/resource.h"
#include "app/settings.h"
#include "app/startup_database.h"
#include "app/startup_hooks_win32.h"
#include "config/config_transfer.h"
#include "db/db_connection.h"
#include "link/comms_log_menu_win32.h"
#include "sched/timer_platform_win32.h"
#include "sched/timer_service.h"

namespace {

void register_common_controls()
{
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS |
                     ICC_PROGRESS_CLASS;
    InitCommonControlsEx(&controls);
}

// The logo button shows bitmap 203, held until the window is destroyed.
void load_logo_bitmap(HWND window)
{
    s_app_state& state = app_state();
    state.logo_bitmap = LoadBitmapA(state.instance, MAKEINTRESOURCEA(IDB_LOGO));
    if (HWND logo = GetDlgItem(window, IDC_LOGO_BUTTON)) {
        SendMessageA(logo, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(state.logo_bitmap));
    }
}

}  // namespace

void main_window_created(HWND window)
{
    app_state().main_window = window;
    comms_log_install_message_boxes();
    timer_service_use_platform(win32_timer_platform());
    settings_load();
    register_common_controls();
    hook_create_controls(window);
    load_logo_bitmap(window);
    hook_set_tool_button_icons(window);
    hook_create_configuration_objects();
    // Configuration transfers tell their errors in boxes owned by no window.
    static message_box_prompt transfer_messages(nullptr);
    config_transfer_use_prompt(&transfer_messages);
    hook_post_startup_commands(window);
    // The database's own errors appear in message boxes owned by no window;
    // the start-up messages belong to the main window until the database
    // view exists.
    static message_box_prompt database_errors(nullptr);
    db_use_prompt(&database_errors);
    message_box_prompt database_view_prompt(window);
    settings_tell_problems(database_view_prompt);
    startup_choose_database(database_view_prompt);
    hook_attach_monitor_display(window);
}

void main_window_destroyed(HWND)
{
    s_app_state& state = app_state();
    if (state.com_uninitialize_owed) {
        state.com_uninitialize_owed = false;
        uninitialize_main_thread_com();
    }
    if (state.logo_bitmap != nullptr) {
        DeleteObject(state.logo_bitmap);
        state.logo_bitmap = nullptr;
    }
    config_transfer_use_prompt(nullptr);
    shutdown_close_database();
    hook_stop_monitor();
    state.main_window = nullptr;
    PostQuitMessage(0);
}
