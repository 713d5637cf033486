// The impedance sweep of the LCR, EIS and Piezo views under the progress
// dialog: lcr_sweep_worker through the run every sweep shares
// (fra/sweep_run_win32.h), with the same Cancel, waits and hook.
#pragma once

#include "fra/sweep_run_win32.h"
#include "impedance/lcr_sweep_worker.h"

int run_lcr_sweep(s_lcr_sweep_job& job, const s_sweep_run& run);
