// Showing a reading on the generator monitor control and attaching it.
#include "config/monitor_show_win32.h"

#include <cstdio>
#include <string>

#include "config/monitor_control_win32.h"
#include "graph/exponent_text.h"

namespace {

// Nine significant digits: a float read back from the text is the same float.
constexpr int FLOAT_DIGITS = 9;

void send_text(HWND control, UINT message, double value)
{
    const std::string text = general_number_text(value, FLOAT_DIGITS);
    SendMessageA(control, message, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void send_choice(HWND control, UINT message, int value)
{
    SendMessageA(control, message, static_cast<WPARAM>(value), 0);
}

}  // namespace

void monitor_show(HWND control, const s_monitor_values& values)
{
    send_choice(control, MONITOR_MSG_DEVICE_FLAG, values.device_flag ? 1 : 0);
    send_choice(control, MONITOR_MSG_OUTPUT, values.output_state);
    send_choice(control, MONITOR_MSG_WAVEFORM, values.waveform);
    send_text(control, MONITOR_MSG_AMPLITUDE, values.amplitude);
    send_text(control, MONITOR_MSG_FREQUENCY, values.frequency);
    send_text(control, MONITOR_MSG_OFFSET, values.offset);
    if (values.has_phase_reset) {
        send_text(control, MONITOR_MSG_PHASE_RESET, values.phase_reset);
    }
    char ceiling[32];
    std::snprintf(ceiling, sizeof ceiling, "%.1f", static_cast<double>(values.amplitude_ceiling));
    SendMessageA(control, MONITOR_MSG_CEILING, 0, reinterpret_cast<LPARAM>(ceiling));
    SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
}

void monitor_attach(HWND control, const s_connection* connection)
{
    if (control == nullptr) {
        return;
    }
    s_monitor_attach attach = {nullptr, connection};
    const auto monitor_procedure = reinterpret_cast<LONG_PTR>(monitor_control_procedure);
    if (GetWindowLongPtrA(control, GWLP_WNDPROC) != monitor_procedure) {
        attach.previous_procedure =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrA(control, GWLP_WNDPROC, monitor_procedure));
    }
    SendMessageA(control, MONITOR_MSG_ATTACH, 0, reinterpret_cast<LPARAM>(&attach));
}
