// The program's entry point: register the window classes, create the main
// window, initialise COM for this thread, show the window and run the message
// loop until the main window is destroyed. The exit code is that of WM_QUIT
// (0), or 1 when the main window could not be created.
#include <windows.h>

#include "app/app_state_win32.h"
#include "app/debug_output.h"
#include "app/com_apartment_win32.h"
#include "app/main_window_win32.h"
#include "app/message_loop_win32.h"
#include "app/resource.h"
#include "app/window_classes_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command)
{
    register_window_classes(instance);
    s_app_state& state = app_state();
    state.instance = instance;
    const HWND main_window = create_main_window(instance);
    state.com_uninitialize_owed = initialize_main_thread_com();
    if (main_window == nullptr) {
        debug_output("The main window could not be created\n");
        return 1;
    }
    EnableWindow(GetDlgItem(main_window, IDC_LOGO_BUTTON), TRUE);
    ShowWindow(main_window, show_command);
    UpdateWindow(main_window);
    const HACCEL accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDR_ACCELERATORS));
    return run_message_loop(main_window, accelerators);
}
