// The Export Tests dialog in this process, the user played by a script:
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
#include "support/dialog_user_script.h"
#include "support/recording_prompt.h"

namespace {

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
    INT_PTR open(int source, user_step step)
    {
        user_script script{{std::move(step)}, 0, "Export Tests"};
        return with_user(script, [&] { return run_export_tests_dialog(nullptr, source, actions, prompt); });
    }
    recording_actions actions;
    recording_prompt prompt;
};

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
