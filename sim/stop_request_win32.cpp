#include "sim/stop_request.h"

#include <windows.h>

namespace hvxsim {

namespace {

HANDLE stop_event = nullptr;

BOOL WINAPI on_console_event(DWORD)
{
    SetEvent(stop_event);
    return TRUE;
}

}  // namespace

void prepare_stop_request()
{
    stop_event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(on_console_event, TRUE);
}

void wait_for_stop_request()
{
    WaitForSingleObject(stop_event, INFINITE);
}

}  // namespace hvxsim
