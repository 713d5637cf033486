// download_screen: the whole screen download under progress dialog 201
// ("Download", no Cancel button). The dialog starts the worker a second
// after it opens; Escape closes it and asks the worker to stop before its
// next line. Once the dialog has returned, the download waits (bounded,
// handling the messages the worker sends, such as its message box) for the
// worker to end, and only then resumes the instrument's front panel and
// closes the link: the worker is the link's one user until it ends.
#pragma once

#include <windows.h>

#include "capture/capture_download.h"

struct s_connection;

// How long, once the dialog has returned, the download waits for its worker.
inline constexpr DWORD CAPTURE_WORKER_END_WAIT_MS = 10000;

// The download into the view's capture (the_screen_capture), monochrome or
// colour, of the group asked for (type 16 instruments), with the wait
// cursor and the worker's message boxes owned by the dialog (or the view).
// finished unless the link did not open, the dialog could not open or was
// closed with Escape, or the worker had not ended. Main thread.
capture_download_result download_screen(HWND view, s_connection* conn, bool colour, int group);
