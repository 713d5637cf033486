// A whole screen download as the capture view runs it, with the way the
// worker is run left to the caller (the Win32 layer's download_screen:
// under progress dialog 201; the tool: directly, with the terminal's
// progress line).
//
//   1. the wait cursor on; the view's capture cleared
//   2. open the link, wait 200 ms, "SUSPEND,ON"
//   3. run the worker
//   4. once the worker has ended: "SUSPEND,OFF", close the link, and, when
//      the run finished, the worker's record becomes the view's capture (a
//      download that failed leaves the capture cleared)
//
// A worker that has not ended when the run returns still has the link: the
// link is left to it, and the download fails.
#pragma once

#include <functional>

#include "capture/capture_worker.h"

class user_prompt;

// What running the worker came to.
struct s_capture_run {
    bool finished = false;      // the progress ended as finished (dialog result 1), not cancelled
    bool worker_ended = false;  // the worker is no longer running
};

using capture_runner = std::function<s_capture_run(s_capture_job& job)>;

// The worker for the picture asked for.
using capture_worker_routine = capture_outcome (*)(s_capture_job& job);
capture_worker_routine capture_worker_for(bool colour);

// How a download ended. A worker's own failure (which the worker told)
// still counts as finished, with the capture not valid.
enum class capture_download_result {
    finished,        // the progress ended as finished
    failed,          // the link did not open, or the run was cancelled; the link is closed
    worker_running,  // failed, and the worker still has the link: neither the link nor the
                     // generator monitor may be taken until it ends
};

// prompt shows the wait cursor; job.connection is the link.
capture_download_result run_screen_download(s_capture_job& job, s_screen_capture& capture, const capture_runner& run,
                                            user_prompt& prompt);

// The capture view's Download: run_screen_download, and "Failed to capture
// screen data" (caption "Error", information icon) when it did not finish.
// Returns whether the capture is now valid.
bool download_and_tell(s_capture_job& job, s_screen_capture& capture, const capture_runner& run, user_prompt& prompt);
