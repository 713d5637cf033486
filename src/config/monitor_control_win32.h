// The generator monitor control (control 13015 of the settings panel): a
// black box that draws the generator's state as the monitor last read it,
// through monitor_display.h and monitor_sketch.h.
//
// It is either a window of its own class (monitor_control_class_name) or
// any window whose procedure monitor_attach replaced by the monitor's, such
// as the static control the control tables create. The control keeps its
// own copy of the connection record (for the instrument type and option
// that name the waveforms), never the link: the copy's socket and port
// handle are cleared.
//
// Threads: the control lives on the thread that created it (the main
// thread) and every message below is sent there. The monitor thread
// reaches it only through its mailbox (monitor_mailbox_win32.h), which
// posts MONITOR_MSG_READING_WAITING and carries no pointer.
#pragma once

#include <windows.h>

#include <memory>

#include "config/monitor_paint_win32.h"

struct s_connection;
class monitor_mailbox;

// The control's messages. Texts (lParam, const char*) are read as atof reads
// them; the stored values of choices come in wParam.
enum : UINT {
    MONITOR_MSG_ATTACH = 40001,       // lParam: const s_monitor_attach*
    MONITOR_MSG_WAVEFORM = 40002,     // wParam: stored value of parameter 51
    MONITOR_MSG_AMPLITUDE = 40003,    // lParam: value text of parameter 49 (peak volts)
    MONITOR_MSG_FREQUENCY = 40004,    // lParam: value text of parameter 48
    MONITOR_MSG_OUTPUT = 40005,       // wParam: stored value of parameter 7
    MONITOR_MSG_CEILING = 40006,      // lParam: "15.0" for instrument type 9, "10.0" otherwise
    MONITOR_MSG_OFFSET = 40007,       // lParam: value text of parameter 50
    MONITOR_MSG_DEVICE_FLAG = 40008,  // wParam: 1 when parameter 122 is 1 or more, else 0
    MONITOR_MSG_PHASE_RESET = 40009,  // lParam: value text of parameter 56
    // Posted by the mailbox: a reading waits there. No parameters.
    MONITOR_MSG_READING_WAITING = 40010,
};
// Every field above changes only what the control holds; the redraw follows
// a text change (WM_SETTEXT, normally with an empty text).

// What MONITOR_MSG_ATTACH carries. The control copies the record during the
// message; previous_procedure is the procedure the monitor's replaced (null
// when the window already had the monitor's), to which it passes every
// message it does not handle.
struct s_monitor_attach {
    WNDPROC previous_procedure;
    const s_connection* connection;  // null: keep the copy held (type 9 at first)
};

inline constexpr char monitor_control_class_name[] = "ZVCorvexa2MonitorWClass";
inline constexpr int MONITOR_CONTROL_ID = 13015;

// The monitor's window procedure, the class's and the one monitor_attach puts
// in place.
LRESULT CALLBACK monitor_control_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

// Registers the control's class once per process (arrow cursor, no
// background brush: it paints every pixel itself). True when the class is
// registered, by this call or an earlier one.
bool register_monitor_control_class(HINSTANCE instance);

// The control's mailbox, for the monitor thread's sink; null when window is
// not a monitor control. Control's thread.
std::shared_ptr<monitor_mailbox> monitor_control_mailbox(HWND window);

// What the control drew on its last paint, and how many paints there were
// (tests and diagnostics). Control's thread; empty for other windows.
struct s_monitor_control_drawing {
    int paints = 0;
    s_monitor_picture picture;
};
s_monitor_control_drawing monitor_control_drawing(HWND window);

