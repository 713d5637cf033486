#include "app/window_classes_win32.h"

#include <cstdio>
#include <iterator>

#include "app/debug_output.h"
#include "app/main_window_win32.h"
#include "app/resource.h"

namespace {

// The views and panels have no behaviour of their own yet.
LRESULT CALLBACK child_window_stub_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return DefWindowProcA(window, message, wparam, lparam);
}

const s_window_class window_classes[] = {
    {main_window_class_name, main_window_procedure, true},
    {"ZVCorvexa2ConfigWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2FRAWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2FRAResultsWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2LCRWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2LCRResultsWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2EISWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2EISResultsWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2CapWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2PiezoWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2DBFormWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2DataToolsWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2DataViewWClass", child_window_stub_procedure, false},
    {"ZVCorvexa2GraphDialogClass", child_window_stub_procedure, false},
};

}  // namespace

const s_window_class* window_class_table(int* count)
{
    *count = static_cast<int>(std::size(window_classes));
    return window_classes;
}

bool register_window_classes(HINSTANCE instance)
{
    const HICON large_icon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_CORVEXA2));
    const HICON small_icon = static_cast<HICON>(
        LoadImageA(instance, MAKEINTRESOURCEA(IDI_CORVEXA2), IMAGE_ICON,
                   GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), LR_SHARED));
    bool all_registered = true;
    for (const s_window_class& entry : window_classes) {
        WNDCLASSEXA window_class = {};
        window_class.cbSize = sizeof window_class;
        window_class.style = 0;
        window_class.lpfnWndProc = entry.procedure;
        window_class.hInstance = instance;
        window_class.hIcon = entry.has_menu_and_large_icon ? large_icon : nullptr;
        window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        window_class.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
        window_class.lpszMenuName =
            entry.has_menu_and_large_icon ? MAKEINTRESOURCEA(IDR_MAIN_MENU) : nullptr;
        window_class.lpszClassName = entry.name;
        window_class.hIconSm = small_icon;
        if (RegisterClassExA(&window_class) == 0) {
            char text[160];
            std::snprintf(text, sizeof text, "RegisterClassExA %s failed: %lu\n", entry.name,
                          GetLastError());
            debug_output(text);
            all_registered = false;
        }
    }
    return all_registered;
}
