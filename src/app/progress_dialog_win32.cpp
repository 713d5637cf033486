#include "app/progress_dialog_win32.h"

#include <commctrl.h>
#include <process.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "app/progress_dialog_win32_ids.h"
#include "app/progress_reporter.h"
#include "app/progress_state.h"
#include "app/sent_message_wait_win32.h"
#include "sched/timer_service.h"

namespace {

constexpr DWORD WORKER_WAIT_MS = 10000;
constexpr UINT START_DELAY_MS = 1000;
constexpr UINT MARQUEE_STEP_MS = 30;

// A caption a routine reported, posted with a copy of its text (lParam, a
// std::string the dialog takes over).
constexpr UINT WM_PROGRESS_CAPTION = WM_APP + 1;

// Posts a routine's reports to the dialog. Shared with the routines' threads,
// which may outlive the dialog: once the window has gone, reports are dropped.
class window_reporter final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char* text) override
    {
        const HWND window = window_.load();
        if (window == nullptr) {
            return;
        }
        if (command == PROGRESS_SET_TEXT) {
            auto* copy = new std::string(text != nullptr ? text : "");
            if (!PostMessageA(window, WM_PROGRESS_CAPTION, 0, reinterpret_cast<LPARAM>(copy))) {
                delete copy;
            }
            return;
        }
        PostMessageA(window, WM_COMMAND, static_cast<WPARAM>(command), static_cast<LPARAM>(value));
    }
    void attach(HWND window) { window_.store(window); }

private:
    std::atomic<HWND> window_{nullptr};
};

struct thread_start {
    progress_routine routine;
    progress_request* request;
    std::shared_ptr<window_reporter> reporter;  // lives as long as the thread
};

unsigned __stdcall run_routine(void* argument)
{
    const std::unique_ptr<thread_start> start(static_cast<thread_start*>(argument));
    start->routine(start->request);
    return 0;
}

HANDLE start_thread(progress_routine routine, progress_request& request,
                    const std::shared_ptr<window_reporter>& reporter)
{
    if (routine == nullptr) {
        return nullptr;
    }
    auto* start = new thread_start{routine, &request, reporter};
    const std::uintptr_t handle = _beginthreadex(nullptr, 0, run_routine, start, 0, nullptr);
    if (handle == 0) {
        delete start;
        return nullptr;
    }
    return reinterpret_cast<HANDLE>(handle);
}

// Waits up to timeout_ms for the thread, handling the messages it sends
// meanwhile (a routine's message box owned by the dialog). Closes the handle
// either way; true when the thread ended.
bool wait_and_close(HANDLE& thread, DWORD timeout_ms)
{
    if (thread == nullptr) {
        return true;
    }
    const bool ended = wait_handling_sent_messages(thread, timeout_ms);
    CloseHandle(thread);
    thread = nullptr;
    return ended;
}

struct dialog_run {
    progress_request* request;
    progress_state state;
    std::shared_ptr<window_reporter> reporter;
    HANDLE work_thread = nullptr;
    HANDLE cancel_thread = nullptr;
    std::int32_t start_timer = 0;
    bool started = false;
    bool work_left_running = false;  // not ended within the finish command's wait
    bool bar_marquee = false;  // what the bar shows now
    progress_view shown;       // the texts the controls show now
};

std::atomic<HWND> open_dialog{nullptr};  // read by the routines' threads

void set_marquee(HWND bar, bool on)
{
    const LONG style = GetWindowLongA(bar, GWL_STYLE);
    SetWindowLongA(bar, GWL_STYLE, on ? (style | PBS_MARQUEE) : (style & ~PBS_MARQUEE));
    SendMessageA(bar, PBM_SETMARQUEE, on ? TRUE : FALSE, MARQUEE_STEP_MS);
}

// The bar is set to the position rather than stepped: a step past the range
// would wrap it round to the start.
void show_view(HWND dialog, dialog_run& run)
{
    const progress_view& view = run.state.view();
    const HWND bar = GetDlgItem(dialog, IDC_PROGRESS_BAR);
    if (view.marquee != run.bar_marquee) {
        set_marquee(bar, view.marquee);
        run.bar_marquee = view.marquee;
    }
    if (view.range != run.shown.range) {
        SendMessageA(bar, PBM_SETRANGE32, 0, static_cast<LPARAM>(view.range));
        run.shown.range = view.range;
    }
    if (view.position != run.shown.position || view.range == 0) {
        SendMessageA(bar, PBM_SETPOS, static_cast<WPARAM>(view.position), 0);
        run.shown.position = view.position;
    }
    if (view.caption != run.shown.caption) {
        SetDlgItemTextA(dialog, IDC_PROGRESS_CAPTION, view.caption.c_str());
        run.shown.caption = view.caption;
    }
    if (view.text != run.shown.text) {
        SetDlgItemTextA(dialog, IDC_PROGRESS_TEXT, view.text.c_str());
        run.shown.text = view.text;
    }
}

void on_init(HWND dialog, dialog_run& run)
{
    open_dialog.store(dialog);
    run.reporter->attach(dialog);
    if (run.request->title[0] != '\0') {
        SetWindowTextA(dialog, run.request->title);
    }
    SendMessageA(GetDlgItem(dialog, IDC_PROGRESS_BAR), PBM_SETSTEP, 1, 0);
    run.shown.caption = "";  // differs from the state's, so the caption is written
    run.shown.range = -1;
    show_view(dialog, run);
    run.start_timer = timer_add(START_DELAY_MS, dialog, PROGRESS_START, true);
}

void on_command(HWND dialog, dialog_run& run, int command, LPARAM value)
{
    const progress_event event = run.state.apply(command, value, nullptr);
    switch (event) {
    case progress_event::ignored:
        return;
    case progress_event::updated:
        show_view(dialog, run);
        return;
    case progress_event::start_work:
        // Only the first start counts (a late timer message may follow).
        if (!run.started) {
            run.started = true;
            timer_remove(run.start_timer);
            run.work_thread = start_thread(run.request->work_routine, *run.request, run.reporter);
        }
        return;
    case progress_event::finished:
        run.work_left_running = !wait_and_close(run.work_thread, WORKER_WAIT_MS);
        EndDialog(dialog, 1);
        return;
    case progress_event::cancelled:
        if (run.cancel_thread == nullptr) {
            run.cancel_thread = start_thread(run.request->cancel_routine, *run.request, run.reporter);
        }
        EndDialog(dialog, 2);
        return;
    }
}

// Captions posted but never taken are freed with the window.
void on_destroy(dialog_run& run)
{
    if (!run.started) {
        timer_remove(run.start_timer);
    }
    run.reporter->attach(nullptr);
    open_dialog.store(nullptr);
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_PROGRESS_CAPTION, WM_PROGRESS_CAPTION, PM_REMOVE)) {
        delete reinterpret_cast<std::string*>(message.lParam);
    }
}

INT_PTR CALLBACK progress_dialog_proc(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* run = reinterpret_cast<dialog_run*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        run = reinterpret_cast<dialog_run*>(lparam);
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        on_init(dialog, *run);
        return TRUE;
    case WM_COMMAND:
        if (run != nullptr) {
            on_command(dialog, *run, LOWORD(wparam), lparam);
        }
        return TRUE;
    case WM_PROGRESS_CAPTION: {
        const std::unique_ptr<std::string> caption(reinterpret_cast<std::string*>(lparam));
        if (run != nullptr) {
            run->state.apply(PROGRESS_SET_TEXT, 0, caption->c_str());
            show_view(dialog, *run);
        }
        return TRUE;
    }
    case WM_DESTROY:
        if (run != nullptr) {
            on_destroy(*run);
        }
        return FALSE;
    default:
        return FALSE;
    }
}

}  // namespace

int run_progress_dialog(HWND owner, int resource, progress_request& request)
{
    const progress_window_mark mark;
    if (!mark.claimed()) {
        return 0;
    }
    const INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&classes);
    dialog_run run{&request, progress_state(timer_now_ms), std::make_shared<window_reporter>()};
    request.progress = run.reporter.get();
    const INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource), owner,
                                           progress_dialog_proc, reinterpret_cast<LPARAM>(&run));
    const bool work_ended = wait_and_close(run.work_thread, WORKER_WAIT_MS);
    const bool cancel_ended = wait_and_close(run.cancel_thread, WORKER_WAIT_MS);
    if (work_ended && cancel_ended && !run.work_left_running) {
        request.progress = nullptr;  // a routine still running keeps reporting to the (dropped) dialog
    }
    return result == 1 || result == 2 ? static_cast<int>(result) : 0;
}

HWND progress_dialog_window()
{
    return open_dialog.load();
}
