// The modal progress dialog ("Download"): resource 201 without Cancel or 202
// with it. It shows the progress its routines report, worked out by a
// progress_state: the caption line, the bar (a marquee while the total is
// unknown) and the progress text.
//
// A second after it opens, the timer service posts it its start command and
// it starts the request's work routine on a thread of its own. Cancel (or
// Escape, in both dialogs) starts the cancel routine on another thread and
// closes the dialog at once with result 2; the finish command (10001) waits
// up to 10 s for the work routine to end and closes it with result 1. The
// routines report through request.progress, which posts to the dialog (texts
// are copied, so a routine may reuse its buffer at once); reports after the
// dialog has gone are dropped.
//
// The work and cancel threads are kept apart. Before returning, the dialog
// waits (at most 10 s each, still handling messages sent from those threads,
// such as a message box they show) for both to end, so that the caller may
// use the link again, or restart the generator monitor, once it returns.
#pragma once

#include <windows.h>

#include "app/progress_request.h"

// 1 when the work finished, 2 when it was cancelled (or failed), 0 when the
// dialog could not open: another progress window is open, or the resource
// is missing. Main thread only.
int run_progress_dialog(HWND owner, int resource, progress_request& request);

// The dialog window while one is open (null otherwise), so that a routine's
// message boxes can be owned by it. Any thread.
HWND progress_dialog_window();
