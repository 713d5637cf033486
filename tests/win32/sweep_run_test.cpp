// Sweeps under the progress dialog in this process, against the simulator
// (this build's, on loopback): the worker runs on the dialog's thread and
// talks to the simulator through the real link, a user thread plays the
// user (it waits, each time with a deadline, for a window or a text to
// appear, then presses what a user would), and a plain window stands in for
// the view. Windows need a display: without DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <process.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/progress_dialog_win32.h"
#include "app/progress_dialog_win32_ids.h"
#include "app/sent_message_wait_win32.h"
#include "app/worker_prompt_win32.h"
#include "config/hvx_cfg_ak.h"
#include "app/message_box_prompt_win32.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_write.h"
#include "fra/sweep_run_win32.h"
#include "fra/window_command_sink_win32.h"
#include "impedance/lcr_sweep_run_win32.h"
#include "link/connection.h"
#include "link/identify.h"
#include "sched/timer_platform_win32.h"
#include "sched/timer_service.h"
#include "support/sim_process.h"
#include "support/sqlite_file.h"
#include "support/temp_folder.h"

namespace {

using namespace std::chrono_literals;

constexpr auto USER_DEADLINE = 30s;
constexpr int MESSAGE_BOX_TEXT = 0xFFFF;

// The commands the stand-in view has received (main thread only).
std::vector<int> view_commands;

// A question another thread sends the view, answered whenever the main
// thread handles sent messages: what the main thread is doing then.
constexpr UINT WM_PROBE = WM_APP + 7;
std::function<LRESULT()> view_probe;

LRESULT CALLBACK view_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    if (message == WM_COMMAND) {
        view_commands.push_back(LOWORD(wparam));
        return 0;
    }
    if (message == WM_PROBE) {
        return view_probe ? view_probe() : 0;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

HWND create_view()
{
    static const ATOM registered = [] {
        WNDCLASSA view_class{};
        view_class.lpfnWndProc = view_proc;
        view_class.hInstance = GetModuleHandleA(nullptr);
        view_class.lpszClassName = "Corvexa2SweepRunTestView";
        return RegisterClassA(&view_class);
    }();
    return registered == 0 ? nullptr
                           : CreateWindowExA(0, "Corvexa2SweepRunTestView", "view", WS_OVERLAPPEDWINDOW, 0, 0, 200,
                                             100, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// A window's text, asked for from another thread without waiting for ever
// on a thread that has stopped handling messages.
std::string text_of(HWND window)
{
    char text[512] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000,
                        &copied);
    return text;
}

// The top-level dialog window (message boxes are dialogs) with this title.
HWND find_dialog_titled(const std::string& title)
{
    struct search {
        const std::string* title;
        HWND found;
    } s{&title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM context) -> BOOL {
            auto& s = *reinterpret_cast<search*>(context);
            char class_name[16] = {};
            GetClassNameA(window, class_name, sizeof class_name);
            if (std::string(class_name) == "#32770" && text_of(window) == *s.title) {
                s.found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&s));
    return s.found;
}

// The user, on a thread of its own while the main thread runs the dialog.
// Each wait ends at the deadline or when the test has gone on without it;
// a wait that fails gives up: it answers an open datalog question with No
// and cancels the dialog, so that the run returns and the test fails on
// what it checks.
class user_thread {
public:
    explicit user_thread(std::function<void(user_thread&)> script)
        : thread_([this, script] { script(*this); })
    {
    }
    ~user_thread() { finish(); }
    void finish()
    {
        done_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }
    bool wait_until(const std::function<bool()>& condition, const char* what)
    {
        const auto deadline = std::chrono::steady_clock::now() + USER_DEADLINE;
        while (!done_ && std::chrono::steady_clock::now() < deadline) {
            if (condition()) {
                return true;
            }
            std::this_thread::sleep_for(10ms);
        }
        failed_wait = what;
        if (const HWND box = find_dialog_titled(SWEEP_DATALOG_CAPTION)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        }
        if (const HWND box = find_dialog_titled(db_error_caption)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
        if (const HWND dialog = progress_dialog_window()) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        }
        return false;
    }
    std::string failed_wait;  // read once finished

private:
    std::atomic<bool> done_{false};
    std::thread thread_;
};

std::string caption_of_dialog()
{
    const HWND dialog = progress_dialog_window();
    return dialog == nullptr ? "" : text_of(GetDlgItem(dialog, IDC_PROGRESS_CAPTION));
}

bool sent(const sim_process& sim, const std::string& command)
{
    const std::vector<std::string> commands = sim.commands();
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

// What the run's hook saw when it ran.
struct hook_view {
    int calls = 0;
    bool link_open = false;
    bool database_error_shown = false;
    std::vector<std::string> tests_stored;
};

class SweepRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        // The dialog's start command comes through the process-wide timer service.
        timer_service_use_platform(win32_timer_platform());
        view = create_view();
        ASSERT_NE(view, nullptr);
        view_commands.clear();
        run.owner = view;
        run.connection = &conn;
        run.config = &model;
        run.after_workers = [this] {
            ++hook.calls;
            hook.link_open = conn.open != 0;
            hook.database_error_shown = find_dialog_titled(db_error_caption) != nullptr;
            if (!database_file.empty()) {
                hook.tests_stored = sqlite_file_rows(database_file, "SELECT Name FROM Test");
            }
        };
    }
    void TearDown() override
    {
        view_probe = nullptr;
        db_use_prompt(nullptr);
        if (db_is_open()) {
            db_close();
        }
        if (view != nullptr) {
            DestroyWindow(view);
        }
    }
    // The simulator (a family A instrument) and the connection to it, identified.
    void start_instrument(std::vector<std::string> arguments, const char* address)
    {
        arguments.insert(arguments.begin(), {"--instrument", "hvxa"});
        sim = std::make_unique<sim_process>(arguments, address);
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, sim->address().c_str());
        silent_prompt quiet;
        ASSERT_TRUE(identify_connection(&conn, quiet).identified);
    }
    // A fresh database with one session, the job set to store the sweep in it.
    void save_to_new_database(s_sweep_job& job)
    {
        database_file = folder.file("tests.db");
        bool created = false;
        ASSERT_TRUE(db_open(database_file, DB_OPEN_CREATE, &created));
        s_db_session session;
        std::snprintf(session.name, sizeof session.name, "Bench");
        ASSERT_EQ(db_save_session(session, false), 0);
        job.save_to_database = true;
        job.pending_test.session_number = session.session_number;
        std::snprintf(job.pending_test.name, sizeof job.pending_test.name, "Loop A");
    }
    // Everything posted to the view, once what is still queued has been handled.
    std::vector<int> commands_of_view()
    {
        MSG message;
        while (PeekMessageA(&message, view, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
        return view_commands;
    }

    HWND view = nullptr;
    std::unique_ptr<sim_process> sim;
    s_connection conn;
    hvx_cfg_ak model;
    s_sweep_run run;
    hook_view hook;
    temp_folder folder;
    std::string database_file;
};

TEST_F(SweepRun, AnFraSweepDeliversItsPointsAndIsStoredBeforeTheHookRuns)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--set", "18=4"}, "127.0.0.225"));
    s_sweep_job job;
    window_command_sink sink(view);
    job.view = &sink;
    ASSERT_NO_FATAL_FAILURE(save_to_new_database(job));

    EXPECT_EQ(run_fra_sweep(job, run), SWEEP_RUN_FINISHED);
    EXPECT_EQ(commands_of_view(), std::vector<int>{SWEEP_DOWNLOADED_COMMAND});
    EXPECT_EQ(job.block->points, 4);
    EXPECT_GT(job.block->point[3].frequency, job.block->point[0].frequency);
    EXPECT_EQ(hook.calls, 1);
    EXPECT_FALSE(hook.link_open) << "the hook ran while the worker held the link";
    EXPECT_EQ(hook.tests_stored, std::vector<std::string>{"Loop A"}) << "the hook ran before the save had ended";
    db_close();
    EXPECT_EQ(sqlite_file_rows(database_file, "SELECT count(*) FROM Data"), std::vector<std::string>{"4"});
    EXPECT_FALSE(progress_window_open());
}

// The datalog question comes from the worker's thread, owned by the dialog,
// while the dialog's loop goes on; each answer decides whether the sweep runs.
TEST_F(SweepRun, TheDatalogQuestionIsOwnedByTheDialogAndItsAnswerDecides)
{
    struct answer_case {
        int button;
        bool sweeps;
    };
    const char* addresses[] = {"127.0.0.226", "127.0.0.227"};
    for (const answer_case& c : {answer_case{IDNO, false}, answer_case{IDYES, true}}) {
        SCOPED_TRACE(c.sweeps ? "Yes" : "No");
        ASSERT_NO_FATAL_FAILURE(start_instrument({"--set", "18=3", "--set", "58=1"}, addresses[c.sweeps]));
        view_commands.clear();
        hook = hook_view{};
        s_sweep_job job;
        window_command_sink sink(view);
        job.view = &sink;
        HWND owner = nullptr, dialog = nullptr;
        std::string question;
        user_thread user([&](user_thread& u) {
            HWND box = nullptr;
            if (!u.wait_until([&] { return (box = find_dialog_titled(SWEEP_DATALOG_CAPTION)) != nullptr; },
                              "the datalog question")) {
                return;
            }
            owner = GetWindow(box, GW_OWNER);
            dialog = progress_dialog_window();
            question = text_of(GetDlgItem(box, MESSAGE_BOX_TEXT));
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(c.button, BN_CLICKED), 0);
        });

        EXPECT_EQ(run_fra_sweep(job, run), SWEEP_RUN_FINISHED);
        user.finish();
        EXPECT_EQ(user.failed_wait, "");
        EXPECT_NE(dialog, nullptr);
        EXPECT_EQ(owner, dialog) << "the question is not owned by the progress dialog";
        EXPECT_EQ(question, SWEEP_DATALOG_QUESTION);
        EXPECT_EQ(sent(*sim, "config,58,0"), c.sweeps);
        EXPECT_EQ(sent(*sim, "start"), c.sweeps);
        EXPECT_EQ(commands_of_view(), c.sweeps ? std::vector<int>{SWEEP_DOWNLOADED_COMMAND} : std::vector<int>{});
        EXPECT_EQ(job.block->points, c.sweeps ? 3 : 0);
        EXPECT_EQ(hook.calls, 1);
    }
}

TEST_F(SweepRun, CancelWhileWaitingForDataEndsTheWorkerBeforeTheRunReturns)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--set", "18=3", "--never-ready"}, "127.0.0.228"));
    s_sweep_job job;
    window_command_sink sink(view);
    job.view = &sink;
    user_thread user([&](user_thread& u) {
        if (u.wait_until([] { return caption_of_dialog() == SWEEP_WAITING_TEXT; }, "the waiting text") &&
            u.wait_until([&] { return sent(*sim, "DAV?"); }, "the first poll")) {
            PostMessageA(GetDlgItem(progress_dialog_window(), IDCANCEL), BM_CLICK, 0, 0);
        }
    });

    EXPECT_EQ(run_fra_sweep(job, run), SWEEP_RUN_CANCELLED);
    user.finish();
    EXPECT_EQ(user.failed_wait, "");
    EXPECT_TRUE(job.cancel);
    EXPECT_EQ(hook.calls, 1) << "the hook did not run once the worker had ended";
    EXPECT_FALSE(hook.link_open) << "the worker still held the link when the hook ran";
    EXPECT_EQ(conn.open, 0);
    EXPECT_EQ(commands_of_view(), std::vector<int>{});
    EXPECT_EQ(job.received, 0);
}

// Cancel while the save is telling of a failure: the dialog closes at once,
// the save goes on on its own thread, and the run waits for it (handling
// sent messages) before the hook runs.
TEST_F(SweepRun, CancelDuringTheSaveLeavesTheHookUntilTheSaveHasEnded)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--set", "18=3"}, "127.0.0.230"));
    s_sweep_job job;
    window_command_sink sink(view);
    job.view = &sink;
    ASSERT_NO_FATAL_FAILURE(save_to_new_database(job));
    // The database's messages as the program shows them: boxes owned by no window.
    message_box_prompt database_messages(nullptr);
    db_use_prompt(&database_messages);
    // Another program is writing to the file, so the save fails and says so.
    auto other_program = std::make_unique<sqlite_file_lock>(database_file, "BEGIN IMMEDIATE");
    ASSERT_TRUE(other_program->held());
    // 1 once the dialog has gone for good and the hook has not run: the run
    // is then waiting for the save.
    view_probe = [this] { return static_cast<LRESULT>(!progress_window_open() && hook.calls == 0); };
    user_thread user([&](user_thread& u) {
        HWND box = nullptr;
        if (!u.wait_until([&] { return (box = find_dialog_titled(db_error_caption)) != nullptr; },
                          "the database error") ||
            !u.wait_until([] { return caption_of_dialog() == SWEEP_SAVING_TEXT; }, "the saving text")) {
            return;
        }
        PostMessageA(GetDlgItem(progress_dialog_window(), IDCANCEL), BM_CLICK, 0, 0);
        const auto waiting_for_save = [&] {
            DWORD_PTR answer = 0;
            return SendMessageTimeoutA(view, WM_PROBE, 0, 0, SMTO_NORMAL, 1000, &answer) != 0 && answer == 1;
        };
        if (u.wait_until(waiting_for_save, "the run to wait for the save")) {
            other_program.reset();
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });

    EXPECT_EQ(run_fra_sweep(job, run), SWEEP_RUN_CANCELLED);
    user.finish();
    EXPECT_EQ(user.failed_wait, "");
    EXPECT_EQ(hook.calls, 1);
    EXPECT_FALSE(hook.database_error_shown) << "the hook ran while the save was still telling its failure";
    EXPECT_EQ(hook.tests_stored, std::vector<std::string>{});
    EXPECT_EQ(commands_of_view(), std::vector<int>{SWEEP_DOWNLOADED_COMMAND});
}

TEST_F(SweepRun, AnLcrSweepDeliversItsPointsThroughTheSameRun)
{
    ASSERT_NO_FATAL_FAILURE(start_instrument({"--set", "1=3", "--set", "18=5"}, "127.0.0.229"));
    s_lcr_sweep_job job;
    window_command_sink sink(view);
    job.view = &sink;

    EXPECT_EQ(run_lcr_sweep(job, run), SWEEP_RUN_FINISHED);
    EXPECT_EQ(commands_of_view(), std::vector<int>{LCR_SWEEP_DOWNLOADED_COMMAND});
    EXPECT_EQ(job.block->points, 5);
    EXPECT_EQ(job.layout, 3);
    EXPECT_EQ(hook.calls, 1);
    EXPECT_FALSE(hook.link_open);
}

// With no progress dialog open a worker's message is owned by the window
// given; the main thread, waiting for the worker, still lets the box appear.
TEST_F(SweepRun, WithoutADialogAWorkersMessageIsOwnedByTheGivenWindow)
{
    worker_prompt prompt(view);
    std::atomic<bool> told{false};
    HWND owner = nullptr;
    user_thread user([&](user_thread& u) {
        HWND box = nullptr;
        if (u.wait_until([&] { return (box = find_dialog_titled("Sweep Run Test")) != nullptr; }, "the message")) {
            owner = GetWindow(box, GW_OWNER);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    });
    struct telling {
        worker_prompt* prompt;
        std::atomic<bool>* told;
    } work{&prompt, &told};
    const HANDLE worker = reinterpret_cast<HANDLE>(_beginthreadex(
        nullptr, 0,
        [](void* argument) -> unsigned {
            auto& w = *static_cast<telling*>(argument);
            w.prompt->tell("A worker's message", "Sweep Run Test", prompt_icon::information);
            *w.told = true;
            return 0;
        },
        &work, 0, nullptr));
    ASSERT_NE(worker, nullptr);
    EXPECT_TRUE(wait_handling_sent_messages(worker, 30000));
    CloseHandle(worker);
    user.finish();
    EXPECT_EQ(user.failed_wait, "");
    EXPECT_TRUE(told);
    EXPECT_EQ(owner, view);
}

}  // namespace
