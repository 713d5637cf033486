// The progress dialog in this process: a thread timer plays the user and
// watches the controls while the modal dialog runs; the work and cancel
// routines report from threads of their own, as a sweep does. Every wait is
// for a text to appear, with a deadline after which the script gives up and
// closes the dialog. Windows need a display: without DISPLAY these tests are
// skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/progress_dialog_win32.h"
#include "app/progress_dialog_win32_ids.h"
#include "app/progress_reporter.h"
#include "app/progress_request.h"
#include "sched/timer_platform_win32.h"
#include "sched/timer_service.h"

namespace {

constexpr std::int64_t SCRIPT_DEADLINE_MS = 30000;

// One step of the user: true when done, false to be tried again on the next tick.
using user_step = std::function<bool(HWND dialog)>;

struct user_script {
    std::vector<user_step> steps;
    std::size_t next = 0;
    std::int64_t deadline_ms = 0;
    bool gave_up = false;
};
user_script* running_script = nullptr;

HWND find_dialog()
{
    return progress_dialog_window();
}

void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD)
{
    user_script* script = running_script;
    HWND dialog = find_dialog();
    if (script == nullptr || dialog == nullptr || script->next >= script->steps.size()) {
        return;
    }
    if (timer_now_ms() > script->deadline_ms) {
        script->gave_up = true;
        script->next = script->steps.size();
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        return;
    }
    if (script->steps[script->next](dialog)) {
        ++script->next;
    }
}

int run_with_user(user_script& script, int resource, progress_request& request)
{
    running_script = &script;
    script.deadline_ms = timer_now_ms() + SCRIPT_DEADLINE_MS;
    const UINT_PTR timer = SetTimer(nullptr, 0, 30, on_tick);
    const int result = run_progress_dialog(nullptr, resource, request);
    KillTimer(nullptr, timer);
    running_script = nullptr;
    EXPECT_FALSE(script.gave_up) << "the dialog never showed what step " << script.next << " waited for";
    return result;
}

std::string text_of(HWND dialog, int id)
{
    char text[256] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

std::string title_of(HWND dialog)
{
    char text[256] = {};
    GetWindowTextA(dialog, text, sizeof text);
    return text;
}

LRESULT bar(HWND dialog, UINT message)
{
    return SendDlgItemMessageA(dialog, IDC_PROGRESS_BAR, message, 0, 0);
}

bool bar_is_marquee(HWND dialog)
{
    return (GetWindowLongA(GetDlgItem(dialog, IDC_PROGRESS_BAR), GWL_STYLE) & PBS_MARQUEE) != 0;
}

user_step until_text(const char* text)
{
    return [text](HWND d) { return text_of(d, IDC_PROGRESS_TEXT) == text; };
}

struct test_job {
    HANDLE go_on = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // lets the worker finish
    bool wait_to_finish = true;      // false: report and end without 10001
    DWORD runs_on_after_done_ms = 0;  // keeps working after its 10001
    std::atomic<std::int64_t> started_ms{-1};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> ended{false};
    ~test_job() { CloseHandle(go_on); }
};

void work(progress_request* request)
{
    auto& job = *static_cast<test_job*>(request->user);
    job.started_ms = timer_now_ms();
    progress_reporter& progress = *request->progress;
    char caption[32] = "Downloading Sweep";
    progress.report(PROGRESS_SET_TEXT, 0, caption);
    std::strcpy(caption, "reused buffer");  // the dialog shows its own copy
    progress.report(PROGRESS_SET_RANGE, 4, nullptr);
    progress.report(PROGRESS_STEP, 0, nullptr);
    progress.report(PROGRESS_STEP, 0, nullptr);
    if (job.wait_to_finish) {
        WaitForSingleObject(job.go_on, static_cast<DWORD>(SCRIPT_DEADLINE_MS));
        if (!job.cancelled) {
            progress.report(PROGRESS_DONE, 0, nullptr);
            Sleep(job.runs_on_after_done_ms);
        }
    }
    job.ended = true;
}

void cancel(progress_request* request)
{
    auto& job = *static_cast<test_job*>(request->user);
    job.cancelled = true;
    request->progress->report(PROGRESS_SET_TEXT, 0, "Cancelling sweep");
    SetEvent(job.go_on);
    request->progress->report(PROGRESS_DONE, 0, nullptr);
}

class ProgressDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        // The start command comes through the process-wide timer service.
        timer_service_use_platform(win32_timer_platform());
        request.user = &job;
        request.work_routine = work;
        request.cancel_routine = cancel;
    }
    test_job job;
    progress_request request;
};

TEST_F(ProgressDialog, OpensSettingUpAndEscapeCancelsBeforeTheStart)
{
    request.work_routine = nullptr;
    request.cancel_routine = nullptr;
    std::string title, caption, text;
    bool marquee = false;
    user_script script;
    script.steps = {[&](HWND d) {
        title = title_of(d);
        caption = text_of(d, IDC_PROGRESS_CAPTION);
        text = text_of(d, IDC_PROGRESS_TEXT);
        marquee = bar_is_marquee(d);
        PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 0);
        return true;
    }};
    EXPECT_EQ(run_with_user(script, IDD_PROGRESS, request), 2);
    EXPECT_EQ(title, "Download");
    EXPECT_EQ(caption, "Setting Up...");
    EXPECT_EQ(text, "");
    EXPECT_TRUE(marquee);
    // The start timer went with the dialog (or had fired already).
    EXPECT_EQ(timer_service().pending(), 0u);
    EXPECT_FALSE(progress_window_open());
    EXPECT_EQ(progress_dialog_window(), nullptr);
}

TEST_F(ProgressDialog, StartsAfterASecondShowsEveryModeAndWaitsForALateWorker)
{
    set_progress_title(request, "FRA Sweep");
    job.runs_on_after_done_ms = 300;
    const std::int64_t opened_ms = timer_now_ms();
    std::string title, caption;
    int nested = -1;
    bool marked_open = false;
    LRESULT position = -1, range = -1;
    bool marquee = true;
    progress_request other;
    user_script script;
    script.steps = {
        until_text("Progress: 2/4"),
        [&](HWND d) {
            title = title_of(d);
            caption = text_of(d, IDC_PROGRESS_CAPTION);
            position = bar(d, PBM_GETPOS);
            range = SendDlgItemMessageA(d, IDC_PROGRESS_BAR, PBM_GETRANGE, FALSE, 0);
            marquee = bar_is_marquee(d);
            marked_open = progress_window_open();
            nested = run_progress_dialog(d, IDD_PROGRESS_CANCEL, other);
            request.progress->report(PROGRESS_TOGGLE_PERCENTAGE, 0, nullptr);
            request.progress->report(PROGRESS_STEP, 0, nullptr);
            return true;
        },
        until_text("75% complete"),
        [&](HWND) {
            request.progress->report(PROGRESS_TOGGLE_PERCENTAGE, 0, nullptr);
            request.progress->report(PROGRESS_TOGGLE_ESTIMATE, 0, nullptr);
            request.progress->report(PROGRESS_SET_POSITION, 9, nullptr);
            return true;
        },
        until_text("Estimated time remaining: 0 Seconds"),
        [&](HWND d) {
            position = bar(d, PBM_GETPOS);
            SetEvent(job.go_on);
            return true;
        },
    };
    EXPECT_EQ(run_with_user(script, IDD_PROGRESS_CANCEL, request), 1);
    EXPECT_GE(job.started_ms - opened_ms, 1000);
    EXPECT_EQ(title, "FRA Sweep");
    EXPECT_EQ(caption, "Downloading Sweep");
    EXPECT_EQ(range, 4);
    EXPECT_FALSE(marquee);
    EXPECT_TRUE(marked_open);
    EXPECT_EQ(nested, 0) << "a second progress dialog opened";
    EXPECT_EQ(position, 4) << "the position is held at the total";
    EXPECT_TRUE(job.ended) << "the dialog returned before its worker ended";
    EXPECT_FALSE(job.cancelled);
    EXPECT_EQ(request.progress, nullptr);
    EXPECT_FALSE(progress_window_open());
}

TEST_F(ProgressDialog, CancelRunsTheCancelRoutineAndClosesAtOnce)
{
    user_script script;
    script.steps = {
        until_text("Progress: 2/4"),
        [](HWND d) {
            PostMessageA(GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0);
            return true;
        },
    };
    EXPECT_EQ(run_with_user(script, IDD_PROGRESS_CANCEL, request), 2);
    EXPECT_TRUE(job.cancelled);
    EXPECT_TRUE(job.ended) << "the dialog returned before the worker it cancelled ended";
}

TEST_F(ProgressDialog, AWorkerThatNeverFinishesWaitsForEscape)
{
    job.wait_to_finish = false;
    request.cancel_routine = nullptr;
    user_script script;
    script.steps = {
        [&](HWND d) { return job.ended && text_of(d, IDC_PROGRESS_TEXT) == "Progress: 2/4"; },
        [](HWND d) {
            PostMessageA(d, WM_KEYDOWN, VK_ESCAPE, 0);
            return true;
        },
    };
    EXPECT_EQ(run_with_user(script, IDD_PROGRESS, request), 2);
}

}  // namespace
