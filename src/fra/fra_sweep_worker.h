// The frequency response sweep the instrument runs by itself: set it up,
// start it, poll until the data is ready, download every point at once.
#pragma once

#include "fra/sweep_job.h"

// How a sweep run ended, for callers that report it (the progress window
// learns it from the commands).
enum class sweep_outcome {
    delivered,       // the block is complete and the view was told (130)
    no_connection,   // the link did not open (the user was told)
    abandoned,       // datalog refused, a step count out of range, a transfer error
    cancelled,       // cancelled before any point arrived
    download_failed, // the download ended early
};

// One sweep into job.block. Posts 10002 first and 10001 last, whatever
// happens (the save worker posts the last one when it runs), and closes the
// link before it posts either 130 or 10001.
sweep_outcome fra_sweep_worker(s_sweep_job& job, const s_sweep_context& context);

// The progress window's Cancel: the running worker stops at its next look.
void sweep_cancel_routine(s_sweep_flags& job, progress_reporter* progress);

// Stores job.block as a new test from job.pending_test: its frequency, gain
// and phase per point. Posts 10001 when done. True when stored.
bool fra_save_worker(s_sweep_job& job, progress_reporter* progress);
