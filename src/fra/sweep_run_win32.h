// A sweep worker run under the progress dialog with Cancel (resource 202),
// the one way the views run their sweeps, FRA and LCR alike.
//
// The dialog starts the work routine a second after it opens; the routine
// calls the worker with the job and a context whose progress is the
// dialog's, whose prompt shows message boxes owned by the dialog, and whose
// start_save runs the FRA save worker on a thread the run keeps. Cancel
// runs sweep_cancel_routine on a thread of its own; it only asks the worker
// to stop, and never touches the link.
//
// When the dialog has returned, the run waits (bounded, still handling the
// messages the workers send) until its routines have ended, then for the
// save thread; only then is the caller's after_workers hook run, so that
// restarting the generator monitor there never shares the link with a
// worker.
#pragma once

#include <windows.h>

#include <functional>

#include "fra/fra_sweep_worker.h"
#include "fra/sweep_job.h"

class instrument_config;
struct s_connection;

inline constexpr const char* SWEEP_PROGRESS_TITLE = "Performing Sweep";

// How long the run waits, once the dialog has returned, for its routines to
// end, and then again for the save thread.
inline constexpr DWORD SWEEP_WORKER_END_WAIT_MS = 10000;

// What run_sweep_under_progress gives back: the dialog's result.
inline constexpr int SWEEP_RUN_NOT_STARTED = 0;  // another progress dialog was open, or none could open
inline constexpr int SWEEP_RUN_FINISHED = 1;     // the workers ended the dialog (whatever the sweep's outcome)
inline constexpr int SWEEP_RUN_CANCELLED = 2;    // the user pressed Cancel (or Escape)

struct s_sweep_run {
    // Owns the dialog, and the workers' message boxes while no dialog is
    // open; the failure message is owned by it too.
    HWND owner = nullptr;
    s_connection* connection = nullptr;
    instrument_config* config = nullptr;
    // Runs on the calling thread before the run returns, once no routine of
    // the run is running and the save thread has ended or had its wait (the
    // save uses only the database): the place to restart the generator
    // monitor. Not run when another progress dialog was open (its own run
    // may still use the link), nor when a routine is still running after
    // its wait (the link is still the worker's).
    std::function<void()> after_workers;
};

// A sweep worker as the run calls it: the job is the one given to the run.
using sweep_worker_routine = sweep_outcome (*)(s_sweep_flags& job, const s_sweep_context& context);

// Runs worker on job under the dialog titled "Performing Sweep". Marks the
// job running with cancel and download_failed cleared. When the dialog
// cannot open (and no other was open) the user is told "The FRA sweep
// measurement thread failed!!". The job must outlive every routine of the
// run, which the hook's running says (the job of a view lives with it).
// Main thread only.
int run_sweep_under_progress(s_sweep_flags& job, sweep_worker_routine worker, const s_sweep_run& run);

// fra_sweep_worker under the dialog; with job.save_to_database the sweep is
// stored by fra_save_worker on its own thread, whose end closes the dialog.
int run_fra_sweep(s_sweep_job& job, const s_sweep_run& run);
