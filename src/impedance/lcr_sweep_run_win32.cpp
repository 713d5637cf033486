#include "impedance/lcr_sweep_run_win32.h"

namespace {

sweep_outcome lcr_worker(s_sweep_flags& job, const s_sweep_context& context)
{
    return lcr_sweep_worker(static_cast<s_lcr_sweep_job&>(job), context);
}

}  // namespace

int run_lcr_sweep(s_lcr_sweep_job& job, const s_sweep_run& run)
{
    return run_sweep_under_progress(job, lcr_worker, run);
}
