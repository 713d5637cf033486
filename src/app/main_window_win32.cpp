#include "app/main_window_win32.h"

#include "app/app_state_win32.h"
#include "app/program_identity.h"
#include "app/startup_hooks_win32.h"
#include "app/window_classes_win32.h"
#include "link/comms_log_menu_win32.h"

namespace {

void on_paint(HWND window)
{
    // The child windows cover the client area: validate it and draw nothing.
    PAINTSTRUCT paint;
    BeginPaint(window, &paint);
    EndPaint(window, &paint);
}

void on_min_max_info(LPARAM lparam)
{
    auto* info = reinterpret_cast<MINMAXINFO*>(lparam);
    info->ptMinTrackSize.x = app_state().initial_size.width;
    info->ptMinTrackSize.y = app_state().initial_size.height;
}

}  // namespace

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_CREATE:
        main_window_created(window);
        return 0;
    case WM_COMMAND:
        if (main_window_command(window, LOWORD(wparam))) {
            return 0;
        }
        break;
    case WM_INITMENUPOPUP:
        // A worker thread may have switched the comms log off since.
        comms_log_update_menu_check(GetMenu(window));
        break;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) {
            hook_layout_main_window(window);
        }
        return 0;
    case WM_GETMINMAXINFO:
        on_min_max_info(lparam);
        return 0;
    case WM_PAINT:
        on_paint(window);
        return 0;
    case WM_DESTROY:
        main_window_destroyed(window);
        return 0;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND create_main_window(HINSTANCE instance)
{
    app_state().initial_size =
        main_window_initial_size(GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYFRAME));
    hook_scale_control_tables();
    const s_window_extent size = app_state().initial_size;
    return CreateWindowExA(0, main_window_class_name, program_title().c_str(), WS_OVERLAPPEDWINDOW,
                           CW_USEDEFAULT, CW_USEDEFAULT, size.width, size.height, nullptr, nullptr,
                           instance, nullptr);
}
