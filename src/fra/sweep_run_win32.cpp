#include "fra/sweep_run_win32.h"

#include <process.h>

#include <cstdint>
#include <memory>
#include <mutex>

#include "app/message_box_prompt_win32.h"
#include "app/program_identity.h"
#include "app/progress_dialog_win32.h"
#include "app/progress_dialog_win32_ids.h"
#include "app/progress_reporter.h"
#include "app/progress_request.h"
#include "app/routine_count_win32.h"
#include "app/sent_message_wait_win32.h"
#include "app/worker_prompt_win32.h"
#include "fra/sweep_thread_texts.h"

namespace {

// The save worker's way to the dialog. The save may still run when the
// dialog has gone (Cancel closes it at once), and the dialog's reporter goes
// with the dialog: so the save reports through this one, which passes
// reports on only until it is closed. The cancel routine closes it (the
// dialog waits for that routine, so nothing passes after its reporter has
// gone), and so does the finish report itself, after which the dialog
// closes; either is for good.
class closable_reporter final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char* text) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (target_ == nullptr) {
            return;
        }
        target_->report(command, value, text);
        if (command == PROGRESS_DONE) {
            close_locked();
        }
    }
    void attach(progress_reporter* target)
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (!closed_) {
            target_ = target;
        }
    }
    void close()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        close_locked();
    }

private:
    void close_locked()
    {
        closed_ = true;
        target_ = nullptr;
    }
    std::mutex mutex_;
    progress_reporter* target_ = nullptr;
    bool closed_ = false;
};

// Everything the run's routines share. Each routine holds it for as long as
// it runs, and so does the run until it returns: a routine that outlasts
// every wait still has it. The routines are started by the dialog, which
// waits for their threads before it returns, so each has taken its hold
// while the run still had its own.
struct sweep_run_state : std::enable_shared_from_this<sweep_run_state> {
    sweep_run_state(s_sweep_flags& job_, sweep_worker_routine worker_, const s_sweep_run& run)
        : job(job_), worker(worker_), connection(run.connection), config(run.config), prompt(run.owner),
          view_prompt(run.owner)
    {
    }
    s_sweep_flags& job;
    sweep_worker_routine worker;
    s_connection* connection;
    instrument_config* config;
    worker_prompt prompt;
    message_box_prompt view_prompt;  // the messages the view owns (a download error)
    progress_request request;
    routine_count routines;
    std::shared_ptr<closable_reporter> save_progress = std::make_shared<closable_reporter>();
    // Set by the work routine; the run reads it once that routine has ended.
    HANDLE save_thread = nullptr;
};

// A routine's hold on the run and its place in the count, for its lifetime.
class routine_hold {
public:
    explicit routine_hold(progress_request* request)
        : state_(static_cast<sweep_run_state*>(request->user)->shared_from_this())
    {
        state_->routines.begin();
    }
    ~routine_hold() { state_->routines.end(); }
    routine_hold(const routine_hold&) = delete;
    routine_hold& operator=(const routine_hold&) = delete;
    sweep_run_state& state() const { return *state_; }

private:
    std::shared_ptr<sweep_run_state> state_;
};

struct save_start {
    std::shared_ptr<closable_reporter> progress;  // lives as long as the thread
    s_sweep_job* job;
};

unsigned __stdcall run_save(void* argument)
{
    const std::unique_ptr<save_start> start(static_cast<save_start*>(argument));
    fra_save_worker(*start->job, start->progress.get());
    return 0;
}

// The save worker on a thread of its own. Should the thread not start, the
// save runs here instead, so that the sweep is still stored and its finish
// still closes the dialog.
void start_save(sweep_run_state& state, s_sweep_job& job)
{
    if (state.save_thread == nullptr) {
        auto* start = new save_start{state.save_progress, &job};
        const std::uintptr_t handle = _beginthreadex(nullptr, 0, run_save, start, 0, nullptr);
        if (handle != 0) {
            state.save_thread = reinterpret_cast<HANDLE>(handle);
            return;
        }
        delete start;
    }
    fra_save_worker(job, state.save_progress.get());
}

void work_routine(progress_request* request)
{
    const routine_hold hold(request);
    sweep_run_state& state = hold.state();
    state.save_progress->attach(request->progress);
    s_sweep_context context;
    context.connection = state.connection;
    context.config = state.config;
    context.progress = request->progress;
    context.prompt = &state.prompt;
    context.view_prompt = &state.view_prompt;
    context.start_save = [&state](s_sweep_job& job) { start_save(state, job); };
    state.worker(state.job, context);
}

void cancel_routine(progress_request* request)
{
    const routine_hold hold(request);
    sweep_run_state& state = hold.state();
    sweep_cancel_routine(state.job, request->progress);
    state.save_progress->close();
}

sweep_outcome fra_worker(s_sweep_flags& job, const s_sweep_context& context)
{
    return fra_sweep_worker(static_cast<s_sweep_job&>(job), context);
}

}  // namespace

int run_sweep_under_progress(s_sweep_flags& job, sweep_worker_routine worker, const s_sweep_run& run)
{
    if (progress_window_open()) {
        return SWEEP_RUN_NOT_STARTED;
    }
    job.running = true;
    job.cancel = false;
    job.download_failed = false;
    const auto state = std::make_shared<sweep_run_state>(job, worker, run);
    progress_request& request = state->request;
    set_progress_title(request, SWEEP_PROGRESS_TITLE);
    request.work_routine = work_routine;
    request.cancel_routine = cancel_routine;
    request.user = state.get();

    const int result = run_progress_dialog(run.owner, IDD_PROGRESS_CANCEL, request);
    // The dialog's reporter has gone with it.
    state->save_progress->close();
    if (result == SWEEP_RUN_NOT_STARTED) {
        MessageBoxA(run.owner, SWEEP_THREAD_FAILED_TEXT, program_name,
                    MB_OK | message_box_icon_style(prompt_icon::information));
    }
    if (!state->routines.wait_until_idle(SWEEP_WORKER_END_WAIT_MS)) {
        return result;  // the worker still has the link: nobody else may take it
    }
    if (state->save_thread != nullptr) {
        wait_handling_sent_messages(state->save_thread, SWEEP_WORKER_END_WAIT_MS);
        CloseHandle(state->save_thread);
        state->save_thread = nullptr;
    }
    if (run.after_workers) {
        run.after_workers();
    }
    return result;
}

int run_fra_sweep(s_sweep_job& job, const s_sweep_run& run)
{
    return run_sweep_under_progress(job, fra_worker, run);
}
