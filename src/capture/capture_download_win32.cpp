#include "capture/capture_download_win32.h"

#include <memory>

#include "app/message_box_prompt_win32.h"
#include "app/progress_dialog_win32.h"
#include "app/progress_dialog_win32_ids.h"
#include "app/progress_request.h"
#include "app/routine_count_win32.h"
#include "app/worker_prompt_win32.h"

namespace {

// What the dialog's routines share with the download. Each routine holds
// it while it runs, so one that outlasts every wait still has its job.
struct capture_run_state : std::enable_shared_from_this<capture_run_state> {
    capture_run_state(HWND view, capture_worker_routine worker_) : worker(worker_), prompt(view) {}
    capture_worker_routine worker;
    worker_prompt prompt;
    s_capture_job job;
    progress_request request;
    routine_count routines;
};

class routine_hold {
public:
    explicit routine_hold(progress_request* request)
        : state_(static_cast<capture_run_state*>(request->user)->shared_from_this())
    {
        state_->routines.begin();
    }
    ~routine_hold() { state_->routines.end(); }
    routine_hold(const routine_hold&) = delete;
    routine_hold& operator=(const routine_hold&) = delete;
    capture_run_state& state() const { return *state_; }

private:
    std::shared_ptr<capture_run_state> state_;
};

void work_routine(progress_request* request)
{
    const routine_hold hold(request);
    capture_run_state& state = hold.state();
    state.job.progress = request->progress;
    state.worker(state.job);
}

void cancel_routine(progress_request* request)
{
    const routine_hold hold(request);
    capture_cancel(hold.state().job);
}

}  // namespace

capture_download_result download_screen(HWND view, s_connection* conn, bool colour, int group)
{
    const auto state = std::make_shared<capture_run_state>(view, capture_worker_for(colour));
    state->job.connection = conn;
    state->job.group = group;
    state->job.prompt = &state->prompt;
    progress_request& request = state->request;
    request.work_routine = work_routine;
    request.cancel_routine = cancel_routine;
    request.user = state.get();
    const capture_runner run = [&](s_capture_job&) {
        const int result = run_progress_dialog(view, IDD_PROGRESS, request);
        const bool ended = state->routines.wait_until_idle(CAPTURE_WORKER_END_WAIT_MS);
        return s_capture_run{result == 1, ended};
    };
    message_box_prompt cursor(view);
    return run_screen_download(state->job, the_screen_capture(), run, cursor);
}
