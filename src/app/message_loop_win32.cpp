#include "app/message_loop_win32.h"

int run_message_loop(HWND main_window, HACCEL accelerators)
{
    MSG message = {};
    BOOL result = 0;
    while ((result = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (TranslateAcceleratorA(main_window, accelerators, &message) == 0) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
    return result == 0 ? static_cast<int>(message.wParam) : 1;
}
