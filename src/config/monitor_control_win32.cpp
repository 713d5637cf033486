// The generator monitor control: its state, messages and class.
#include "config/monitor_control_win32.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <optional>

#include "config/monitor_mailbox_win32.h"
#include "config/monitor_show_win32.h"
#include "link/connection.h"

namespace {

// Neither type 9 nor option 0 needs a connection to name its waveforms: an
// unattached control names them as an instrument of type 9 does.
constexpr int UNATTACHED_TYPE = 9;

// The state hangs on a window property rather than the user data, which the
// window an attachment takes over (a static control) may use itself.
constexpr char STATE_PROPERTY[] = "Corvexa2MonitorState";

struct monitor_state {
    explicit monitor_state(HWND window, WNDPROC previous_procedure)
        : previous(previous_procedure != nullptr ? previous_procedure : DefWindowProcA),
          connection(std::make_unique<s_connection>()),
          mailbox(std::make_shared<monitor_mailbox>(window))
    {
        connection->instrument_type = UNATTACHED_TYPE;
    }

    WNDPROC previous;
    std::unique_ptr<s_connection> connection;  // a copy; its link fields are cleared
    s_monitor_values values;
    std::shared_ptr<monitor_mailbox> mailbox;
    s_monitor_control_drawing drawing;
};

monitor_state* state_of(HWND window)
{
    return static_cast<monitor_state*>(GetPropA(window, STATE_PROPERTY));
}

monitor_state* make_state(HWND window, WNDPROC previous_procedure)
{
    auto* state = new (std::nothrow) monitor_state(window, previous_procedure);
    if (state != nullptr && !SetPropA(window, STATE_PROPERTY, state)) {
        delete state;
        state = nullptr;
    }
    return state;
}

// The record to keep, without what would let the control use the link.
void copy_connection(s_connection& copy, const s_connection& record)
{
    copy = record;
    copy.open = 0;
    copy.socket = LINK_INVALID_SOCKET;
    copy.serial_handle = LINK_INVALID_HANDLE;
    std::memset(copy.rx_ring, 0, sizeof copy.rx_ring);
    copy.rx_count = 0;
    copy.rx_head = 0;
    copy.rx_tail = 0;
}

float number_of(LPARAM text)
{
    return monitor_number_of_text(reinterpret_cast<const char*>(text));
}

void paint(HWND window, monitor_state& state, HDC dc)
{
    RECT area;
    GetClientRect(window, &area);
    state.drawing.picture = monitor_paint(dc, area, state.values, state.connection->instrument_type,
                                          state.connection->current_option);
    ++state.drawing.paints;
}

// A field message's effect on the values held; false for any other message.
bool set_field(s_monitor_values& values, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case MONITOR_MSG_WAVEFORM:
        values.waveform = static_cast<std::int16_t>(wparam);
        return true;
    case MONITOR_MSG_AMPLITUDE:
        values.amplitude = number_of(lparam);
        return true;
    case MONITOR_MSG_FREQUENCY:
        values.frequency = number_of(lparam);
        return true;
    case MONITOR_MSG_OUTPUT:
        values.output_state = static_cast<std::int16_t>(wparam);
        return true;
    case MONITOR_MSG_CEILING:
        values.amplitude_ceiling = number_of(lparam);
        return true;
    case MONITOR_MSG_OFFSET:
        values.offset = number_of(lparam);
        return true;
    case MONITOR_MSG_DEVICE_FLAG:
        values.device_flag = wparam != 0;
        return true;
    case MONITOR_MSG_PHASE_RESET:
        values.phase_reset = number_of(lparam);
        values.has_phase_reset = true;
        return true;
    default:
        return false;
    }
}

LRESULT attach(HWND window, monitor_state* state, LPARAM lparam)
{
    const auto* record = reinterpret_cast<const s_monitor_attach*>(lparam);
    if (state == nullptr) {
        state = make_state(window, record != nullptr ? record->previous_procedure : nullptr);
        if (state == nullptr) {
            return 0;
        }
    }
    if (record != nullptr && record->connection != nullptr) {
        copy_connection(*state->connection, *record->connection);
    }
    InvalidateRect(window, nullptr, FALSE);
    return 1;
}

}  // namespace

LRESULT CALLBACK monitor_control_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    monitor_state* state = state_of(window);
    if (message == MONITOR_MSG_ATTACH) {
        return attach(window, state, lparam);
    }
    if (state == nullptr) {
        // Only a window of the monitor's class gets here before its state is
        // made (on WM_NCCREATE, or the few messages that come before it).
        if (message == WM_NCCREATE && make_state(window, nullptr) == nullptr) {
            return FALSE;
        }
        return DefWindowProcA(window, message, wparam, lparam);
    }
    if (set_field(state->values, message, wparam, lparam)) {
        return 0;
    }
    switch (message) {
    case MONITOR_MSG_READING_WAITING:
        if (const std::optional<s_monitor_values> reading = state->mailbox->take()) {
            monitor_show(window, *reading);
        }
        return 0;
    case WM_SETTEXT:
        // The redraw request. The text is stored as any window's is, and not
        // by the previous procedure: a static control would draw it at once.
        DefWindowProcA(window, message, wparam, lparam);
        InvalidateRect(window, nullptr, FALSE);
        return TRUE;
    case WM_ERASEBKGND:
        return 1;  // the paint covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps;
        if (HDC dc = BeginPaint(window, &ps)) {
            paint(window, *state, dc);
            EndPaint(window, &ps);
        }
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(window, *state, reinterpret_cast<HDC>(wparam));
        return 0;
    case WM_ENABLE:
    case WM_SETFONT:
        // A static control would draw its text for these.
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_NCDESTROY: {
        state->mailbox->close();
        RemovePropA(window, STATE_PROPERTY);
        const WNDPROC previous = state->previous;
        delete state;
        return CallWindowProcA(previous, window, message, wparam, lparam);
    }
    default:
        return CallWindowProcA(state->previous, window, message, wparam, lparam);
    }
}

bool register_monitor_control_class(HINSTANCE instance)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    if (GetClassInfoExA(instance, monitor_control_class_name, &info)) {
        return true;
    }
    WNDCLASSEXA window_class = {};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = monitor_control_procedure;
    window_class.hInstance = instance;
    window_class.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    window_class.lpszClassName = monitor_control_class_name;
    return RegisterClassExA(&window_class) != 0;
}

std::shared_ptr<monitor_mailbox> monitor_control_mailbox(HWND window)
{
    const monitor_state* state = window != nullptr ? state_of(window) : nullptr;
    return state != nullptr ? state->mailbox : nullptr;
}

s_monitor_control_drawing monitor_control_drawing(HWND window)
{
    const monitor_state* state = window != nullptr ? state_of(window) : nullptr;
    return state != nullptr ? state->drawing : s_monitor_control_drawing{};
}
