// The Export Tests dialog in this process: a thread timer plays the user,
// choosing the format and pressing a button while the modal dialog runs.
// Windows need a display: without DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "export/export_tests_dialog_win32.h"
#include "export/export_tests_dialog_win32_ids.h"
#include "support/recording_prompt.h"

namespace {

std::function<void(HWND)> pending_step;

HWND find_dialog()
{
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM param) -> BOOL {
            char title[64] = {};
            GetWindowTextA(window, title, sizeof title);
            if (IsWindowVisible(window) && std::string(title) == "Export Tests") {
                *reinterpret_cast<HWND*>(param) = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK on_tick(HWND, UINT, UINT_PTR, DWORD)
{
    if (!pending_step) {
        return;
    }
    if (HWND dialog = find_dialog()) {
        auto step = std::move(pending_step);
        pending_step = nullptr;
        step(dialog);
    }
}

class recording_actions final : public export_dialog_actions {
public:
    int repeat_count(int) override { return repeats; }
    std::vector<std::int64_t> graph_list_tests() override { return tests; }
    void run(export_job job, const std::vector<std::int64_t>& with) override
    {
        jobs.push_back(job);
        ran_with = with;
    }
    int repeats = 0;
    std::vector<std::int64_t> tests;
    std::vector<export_job> jobs;
    std::vector<std::int64_t> ran_with;
};

class ExportTestsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
    }
    // Opens the dialog for source; the user does step once it shows.
    INT_PTR open(int source, std::function<void(HWND)> step)
    {
        pending_step = std::move(step);
        const UINT_PTR timer = SetTimer(nullptr, 0, 30, on_tick);
        const INT_PTR result = run_export_tests_dialog(nullptr, source, actions, prompt);
        KillTimer(nullptr, timer);
        pending_step = nullptr;
        return result;
    }
    recording_actions actions;
    recording_prompt prompt;
};

void press(HWND dialog, int button)
{
    SendMessageA(GetDlgItem(dialog, button), BM_CLICK, 0, 0);
}

TEST_F(ExportTestsDialog, OpensOnExcelAndRunsTheChosenExport)
{
    bool excel_first = false;
    EXPECT_EQ(open(EXPORT_SOURCE_FRA,
                   [&](HWND dialog) {
                       excel_first = IsDlgButtonChecked(dialog, IDC_EXPORT_EXCEL) == BST_CHECKED;
                       press(dialog, IDOK);
                   }),
              1);
    EXPECT_TRUE(excel_first);
    actions.repeats = 4;
    EXPECT_EQ(open(EXPORT_SOURCE_FRA,
                   [](HWND dialog) {
                       press(dialog, IDC_EXPORT_CSV);
                       press(dialog, IDOK);
                   }),
              1);
    EXPECT_EQ(actions.jobs, (std::vector<export_job>{export_job::fra_sweep_report, export_job::fra_repeats_text}));
}

TEST_F(ExportTestsDialog, CancelRunsNothingAndTheDatabaseViewNeedsOneToNineTests)
{
    EXPECT_EQ(open(EXPORT_SOURCE_DATABASE, [](HWND dialog) { press(dialog, IDCANCEL); }), 0);
    EXPECT_TRUE(actions.jobs.empty());

    EXPECT_EQ(open(EXPORT_SOURCE_DATABASE,
                   [](HWND dialog) {
                       press(dialog, IDC_EXPORT_CSV);
                       press(dialog, IDOK);
                   }),
              1);
    EXPECT_TRUE(actions.jobs.empty());
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Please add some tests to export");
    EXPECT_EQ(prompt.messages[0].caption, "Corvexa2");

    actions.tests = {4, 9};
    EXPECT_EQ(open(EXPORT_SOURCE_DATABASE,
                   [](HWND dialog) {
                       press(dialog, IDC_EXPORT_CSV);
                       press(dialog, IDOK);
                   }),
              1);
    EXPECT_EQ(actions.jobs, (std::vector<export_job>{export_job::tests_text}));
    EXPECT_EQ(actions.ran_with, (std::vector<std::int64_t>{4, 9}));
}

}  // namespace
