// Showing a reading on the generator monitor control, and attaching the
// control to the connection. Both run on the control's thread (the main
// thread) only: the monitor thread hands its readings to the control's
// mailbox (monitor_mailbox_win32.h), and the control calls monitor_show when
// it takes one.
#pragma once

#include <windows.h>

#include "config/monitor_display.h"

struct s_connection;

// Sends values to the control field by field, in this order: device flag
// (40008), output (40005), waveform (40002), amplitude (40003), frequency
// (40004), offset (40007), the phase reset (40009) when the reading has one
// (type 7 with option 0), the amplitude ceiling (40006, "15.0" or "10.0"),
// then asks for a redraw with an empty text change. Numbers go as texts that
// read back as the same float.
void monitor_show(HWND control, const s_monitor_values& values);

// Gives the control the monitor's window procedure, unless it has it already
// (a window of the monitor's class, or one attached before), and sends it the
// connection record to copy (MONITOR_MSG_ATTACH). connection may be null: the
// control then keeps the copy it holds. Called when the main window is
// created and after every connection.
void monitor_attach(HWND control, const s_connection* connection);
