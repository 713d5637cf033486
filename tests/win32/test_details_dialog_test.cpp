// The "Test Details" dialogs in this process: a thread timer plays the user,
// filling fields, choosing combo entries and pressing buttons while the
// modal dialog runs. Messages go to a recording prompt, so a refusal shows
// no box and the dialog must stay open. Windows need a display: without
// DISPLAY these tests are skipped.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "fra/sweep_settings_limits.h"
#include "fra/test_details_win32.h"
#include "fra/test_details_win32_ids.h"
#include "support/dialog_user_script.h"
#include "support/recording_prompt.h"

namespace {

int height_of(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    return r.bottom - r.top;
}

class bench_host final : public test_details_dialog_host {
public:
    bool database_open() override { return true; }
    std::vector<std::string> session_names() override { return {"Bench 1", "Bench 2"}; }
    std::int64_t find_session(const std::string& name) override { return name == "Bench 2" ? 7 : 0; }
    void set_pending_test(s_db_test&& test) override
    {
        pending_session = test.session_number;
        pending_name = test.name;
    }
    std::int64_t pending_session = 0;
    std::string pending_name;
};

class TestDetailsDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (std::getenv("DISPLAY") == nullptr) {
            GTEST_SKIP() << "no display";
        }
        setup.config = &model;
        setup.host = &host;
        setup.prompt = &prompt;
    }
    hvx_cfg_ak model;
    bench_host host;
    recording_prompt prompt;
    s_test_details_setup setup;
    s_sweep_request request;
    s_repeat_settings repeat;
};

TEST_F(TestDetailsDialog, ValidInputIsAcceptedIntoTheModel)
{
    int single_height = 0;
    int repeating_height = 0;
    bool window_time_shown = false;
    bool repeat_hidden_at_first = false;
    std::string total;
    user_script script;
    script.title = "Test Details";
    script.steps = {
        [&](HWND d) {
            single_height = height_of(d);
            repeat_hidden_at_first = !shown(d, IDC_TD_TESTS);
            choose(d, IDC_TD_SPEED, window_option_of(model));
            window_time_shown = shown(d, IDC_TD_WINDOW);
            choose(d, IDC_TD_SWEEP_TYPE, SWEEP_REPEATING);
            repeating_height = height_of(d);
            type(d, IDC_TD_TESTS, "4");
            total = text_of(d, IDC_TD_TOTAL_TIME);
            type(d, IDC_TD_STEPS, "150");
            type(d, IDC_TD_START, "10k");
            type(d, IDC_TD_WINDOW, "500m");
            type(d, IDC_TD_CYCLES, "7");
            choose(d, IDC_TD_SESSION, 1);
            type(d, IDC_TD_PROJECT, "Amp");
            type(d, IDC_TD_TEST_NAME, "Loop");
        },
        [&](HWND d) { press(d, IDOK); },
    };
    const int result = with_user(script, [&] { return open_fra_test_details(nullptr, request, repeat, setup); });

    EXPECT_EQ(result, SWEEP_REPEATING);
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(repeat_hidden_at_first);
    EXPECT_TRUE(window_time_shown);
    EXPECT_GT(repeating_height, single_height);
    EXPECT_EQ(total, "Total Test Time: 0 days, 00 hours, 15 minutes");
    EXPECT_EQ(model.get_value_int(SWEEP_PARAM_STEPS), 150);
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_START), "1.0000E4");
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_WINDOW_TIME), "5.0000E-1");
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_MIN_CYCLES), "7");
    EXPECT_EQ(request.sweep_type, SWEEP_REPEATING);
    EXPECT_DOUBLE_EQ(request.start_frequency, 10000);
    EXPECT_TRUE(repeat.repeating);
    EXPECT_EQ(repeat.repeat_count, 4);
    EXPECT_EQ(repeat.repeat_interval, 300000);
    EXPECT_EQ(host.pending_session, 7);
    EXPECT_EQ(host.pending_name, "Loop");
}

TEST_F(TestDetailsDialog, InvalidInputShowsTheMessageAndKeepsTheDialogOpen)
{
    model.set_value_int(SWEEP_PARAM_STEPS, 100);
    bool open_after_refusal = false;
    std::string steps_after_refusal;
    user_script script;
    script.title = "Test Details";
    script.steps = {
        [&](HWND d) {
            type(d, IDC_TD_STEPS, "2001");
            press(d, IDOK);
        },
        [&](HWND d) {
            open_after_refusal = IsWindow(d) != FALSE;
            steps_after_refusal = text_of(d, IDC_TD_STEPS);
            press(d, IDCANCEL);
        },
    };
    const int result = with_user(script, [&] { return open_fra_test_details(nullptr, request, repeat, setup); });

    EXPECT_EQ(result, -1);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "The sweep must be between 2 and 2000 steps");
    EXPECT_EQ(prompt.messages[0].caption, "Invalid");
    EXPECT_TRUE(open_after_refusal);
    EXPECT_EQ(steps_after_refusal, "2001");
    EXPECT_EQ(model.get_value_int(SWEEP_PARAM_STEPS), 100);
    EXPECT_EQ(request.sweep_type, SWEEP_SINGLE);
}

TEST_F(TestDetailsDialog, LcrVariantFromTheEisViewOffersOneSweepAndTheCellSetup)
{
    hvx_cfg_ck family_c;
    setup.config = &family_c;
    request.sweep_type = SWEEP_REPEATING;
    bool cell9a = false;
    LRESULT type_count = 0;
    bool cell_shown = false;
    user_script script;
    script.title = "Test Details";
    script.steps = {
        [&](HWND d) {
            type_count = SendDlgItemMessageA(d, IDC_TD_SWEEP_TYPE, CB_GETCOUNT, 0, 0);
            cell_shown = shown(d, IDC_TD_CELL9A);
            type(d, IDC_TD_START, "10");
            type(d, IDC_TD_END, "1M");
            type(d, IDC_TD_CYCLES, "1");
            choose(d, IDC_TD_SPEED, window_option_of(family_c));
            type(d, IDC_TD_WINDOW, "0.001");
            press(d, IDOK);
        },
        [&](HWND d) {
            type(d, IDC_TD_WINDOW, "2");
            press(d, IDC_TD_CELL9A);
            press(d, IDOK);
        },
    };
    const int result = with_user(script, [&] {
        return open_lcr_test_details(nullptr, request, repeat, lcr_test_origin::eis, 9, cell9a, setup);
    });

    EXPECT_EQ(result, SWEEP_SINGLE);
    EXPECT_EQ(type_count, 1);
    EXPECT_TRUE(cell_shown);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "The speec must be between 10.000 ms and 100.00 s");
    EXPECT_TRUE(cell9a);
    EXPECT_EQ(request.sweep_type, SWEEP_SINGLE);
    EXPECT_EQ(family_c.get_value_string(SWEEP_PARAM_WINDOW_TIME), "2.0000E0");
}

}  // namespace
