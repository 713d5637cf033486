// The tool's real-time sweeps: the FRA view's (or the impedance views')
// "Real Time Sweep" run from a terminal. Each point is printed as it
// arrives; FILE gets the sweep data file once the last point is in; Ctrl+C
// cancels (nothing written, exit 1).
#pragma once

#include <string>

#include "cli_context.h"
#include "fra/sweep_job.h"
#include "fra/sweep_request.h"
#include "impedance/lcr_sweep_worker.h"

// With job.save_to_database the finished sweep is stored as job.pending_test.
int run_fra_realtime(cli_context& context, const s_sweep_context& sweep, const s_sweep_request& request,
                     s_sweep_job& job, const std::string& out);
int run_lcr_realtime(cli_context& context, const s_sweep_context& sweep, const s_sweep_request& request,
                     s_lcr_sweep_job& job, const std::string& out);
