#include "app/com_apartment_win32.h"

#include <windows.h>
#include <objbase.h>

bool initialize_main_thread_com()
{
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    return SUCCEEDED(result);
}

void uninitialize_main_thread_com()
{
    CoUninitialize();
}
