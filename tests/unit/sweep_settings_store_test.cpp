// Accepted sweep settings in a real configuration model, the request and
// repeat settings, the pending database test, and the confirm sequence:
// nothing stored on a refusal, and over loopback the instrument receives the
// window time and minimum cycles as numbers it accepts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "config/config_transfer.h"
#include "config/hvx_cfg_ak.h"
#include "fra/sweep_settings_accept.h"
#include "fra/sweep_settings_limits.h"
#include "fra/sweep_settings_store.h"
#include "link/connection.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"

namespace {

s_sweep_settings_accepted accepted_values()
{
    s_sweep_settings_accepted v;
    v.sweep_type = SWEEP_SINGLE;
    v.repeat_values_read = true;
    v.repeat_count = 3;
    v.repeat_interval_ms = 300000;
    v.steps = 150;
    v.start_frequency = 10000;
    v.end_frequency = 2e6;
    v.speed_settings = true;
    v.minimum_cycles = 7;
    v.speed_option = 4;
    v.window_time_set = true;
    v.window_time = 0.5;
    return v;
}

// Clears every changed flag, as a configuration read leaves the model.
void settle(instrument_config& model)
{
    for (int id = 0; id < CONFIG_BANK_SIZE; ++id) {
        model.record(id)->changed = false;
    }
}

std::vector<int> changed_ids(const instrument_config& model)
{
    std::vector<int> ids;
    for (int id = 0; id < CONFIG_BANK_SIZE; ++id) {
        if (model.record(id)->changed) {
            ids.push_back(id);
        }
    }
    return ids;
}

TEST(SweepSettingsStore, StoresNumbersTheInstrumentCanTake)
{
    hvx_cfg_ak model;
    settle(model);
    store_sweep_settings(model, accepted_values());
    EXPECT_EQ(model.get_value_int(SWEEP_PARAM_STEPS), 150);
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_START), "1.0000E4");
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_END), "2.0000E6");
    EXPECT_EQ(model.get_value_int(SWEEP_PARAM_SPEED), 4);
    // Typed "500m" and "7.9": stored as the numbers checked, never the raw
    // text, so a write reads them back as the values that passed the check.
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_WINDOW_TIME), "5.0000E-1");
    EXPECT_DOUBLE_EQ(model.get_value_double(SWEEP_PARAM_WINDOW_TIME), 0.5);
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_MIN_CYCLES), "7");
    EXPECT_EQ(config_check_writable(*model.record(SWEEP_PARAM_WINDOW_TIME)), config_write_refusal::none);
    EXPECT_EQ(config_check_writable(*model.record(SWEEP_PARAM_MIN_CYCLES)), config_write_refusal::none);
}

TEST(SweepSettingsStore, MarksOnlyWhatDiffersAndWhatTheSweepUses)
{
    hvx_cfg_ak model;
    store_sweep_settings(model, accepted_values());
    settle(model);
    // The same values again, the frequencies typed differently: nothing changes.
    s_sweep_settings_accepted v = accepted_values();
    store_sweep_settings(model, v);
    EXPECT_EQ(changed_ids(model), std::vector<int>{});

    v.end_frequency = 3e6;
    v.minimum_cycles = 8;
    store_sweep_settings(model, v);
    EXPECT_EQ(changed_ids(model), (std::vector<int>{SWEEP_PARAM_END, SWEEP_PARAM_MIN_CYCLES}));

    // A real-time sweep leaves cycles, speed and window alone; an unchecked
    // window time (speed not "Window") is not stored either.
    settle(model);
    v.speed_settings = false;
    v.minimum_cycles = 20;
    v.speed_option = 1;
    store_sweep_settings(model, v);
    EXPECT_EQ(changed_ids(model), std::vector<int>{});
    v.speed_settings = true;
    v.window_time_set = false;
    v.window_time = 99;
    store_sweep_settings(model, v);
    EXPECT_EQ(changed_ids(model), (std::vector<int>{SWEEP_PARAM_SPEED, SWEEP_PARAM_MIN_CYCLES}));
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_WINDOW_TIME), "5.0000E-1");
}

TEST(SweepSettingsStore, RequestAndRepeatSettings)
{
    s_sweep_request request;
    s_repeat_settings repeat;
    s_sweep_settings_accepted v = accepted_values();
    v.sweep_type = SWEEP_REPEATING;
    v.keep_output_on = true;
    v.set_start_frequency = true;
    apply_sweep_settings(v, request, repeat);
    EXPECT_EQ(request.sweep_type, SWEEP_REPEATING);
    EXPECT_TRUE(request.keep_output_on);
    EXPECT_TRUE(request.set_start_frequency);
    EXPECT_DOUBLE_EQ(request.start_frequency, 10000);
    EXPECT_DOUBLE_EQ(request.end_frequency, 2e6);
    EXPECT_TRUE(repeat.repeating);
    EXPECT_EQ(repeat.repeat_count, 3);
    EXPECT_EQ(repeat.repeat_interval, 300000);

    // Any other type clears the series; unread repeat fields keep the interval.
    v.sweep_type = SWEEP_SINGLE;
    v.repeat_values_read = false;
    v.repeat_interval_ms = 1;
    apply_sweep_settings(v, request, repeat);
    EXPECT_FALSE(repeat.repeating);
    EXPECT_EQ(repeat.repeat_count, 0);
    EXPECT_EQ(repeat.repeat_interval, 300000);
}

TEST(SweepSettingsStore, PendingTestTextsAreCutToTheRecord)
{
    s_sweep_settings_accepted v;
    v.session_number = 12;
    v.test_name = std::string(80, 'n');
    v.project_name = "Project";
    v.description = std::string(150, 'd');
    const s_db_test test = pending_test_of(v);
    EXPECT_EQ(test.session_number, 12);
    EXPECT_EQ(std::string(test.name), std::string(db_test_text_length, 'n'));
    EXPECT_STREQ(test.winding, "Project");
    EXPECT_EQ(std::string(test.description), std::string(db_description_length, 'd'));
    EXPECT_EQ(test.test_number, 0);
}

// A host that records what the dialog hands over.
class recording_host final : public test_details_host {
public:
    std::int64_t find_session(const std::string& name) override
    {
        looked_up.push_back(name);
        return name == "Bench 1" ? 5 : 0;
    }
    void set_pending_test(s_db_test&& test) override
    {
        pending_session = test.session_number;
        pending_name = test.name;
    }
    std::vector<std::string> looked_up;
    std::int64_t pending_session = -1;
    std::string pending_name;
};

s_sweep_settings_texts typed_texts()
{
    s_sweep_settings_texts t;
    t.sweep_type = SWEEP_REPEATING;
    t.tests_to_run = "4";
    t.interval_minutes = "10";
    t.steps = "150";
    t.start_frequency = "10k";
    t.end_frequency = "2M";
    t.minimum_cycles = "7";
    t.speed_option = 4;
    t.window_time = "500m";
    t.save_to_database = true;
    t.session_name = "Bench 1";
    t.test_name = "Loop";
    t.project_name = "Amp";
    return t;
}

struct ConfirmTestDetails : ::testing::Test {
    hvx_cfg_ak model;
    s_sweep_request request;
    s_repeat_settings repeat;
    bool cell9a = false;
    recording_prompt prompt;
    recording_host host;
    s_test_details_target target{test_details_variant::fra, &model, nullptr, &request, &repeat, &cell9a};
};

TEST_F(ConfirmTestDetails, ARefusalShowsItsMessagesAndStoresNothing)
{
    settle(model);
    s_sweep_settings_texts t = typed_texts();
    t.session_name = "Nobody";
    EXPECT_FALSE(confirm_test_details(target, t, prompt, host));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "You need to select a Session");
    EXPECT_EQ(host.looked_up, std::vector<std::string>{"Nobody"});
    EXPECT_EQ(changed_ids(model), std::vector<int>{});
    EXPECT_EQ(request.sweep_type, SWEEP_SINGLE);
    EXPECT_EQ(repeat.repeat_count, 0);
    EXPECT_FALSE(repeat.repeating);
    EXPECT_EQ(host.pending_session, -1);

    // The LCR variant shows both of its messages in turn.
    target.variant = test_details_variant::lcr;
    prompt.messages.clear();
    t.tests_to_run = "1";
    EXPECT_FALSE(confirm_test_details(target, t, prompt, host));
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].text, "Repeating tests must have more than one sweep");
    EXPECT_EQ(prompt.messages[1].text, "Invalid Total Test Time");
    EXPECT_EQ(changed_ids(model), std::vector<int>{});
}

TEST_F(ConfirmTestDetails, AcceptanceUpdatesModelRequestSeriesAndPendingTest)
{
    EXPECT_TRUE(confirm_test_details(target, typed_texts(), prompt, host));
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_WINDOW_TIME), "5.0000E-1");
    EXPECT_EQ(model.get_value_string(SWEEP_PARAM_START), "1.0000E4");
    EXPECT_EQ(request.sweep_type, SWEEP_REPEATING);
    EXPECT_TRUE(repeat.repeating);
    EXPECT_EQ(repeat.repeat_count, 4);
    EXPECT_EQ(repeat.repeat_interval, 600000);
    EXPECT_EQ(host.pending_session, 5);
    EXPECT_EQ(host.pending_name, "Loop");

    target.variant = test_details_variant::lcr;
    s_sweep_settings_texts t = typed_texts();
    t.sweep_type = SWEEP_SINGLE;
    t.cell9a_setup = true;
    EXPECT_TRUE(confirm_test_details(target, t, prompt, host));
    EXPECT_TRUE(cell9a);
    EXPECT_FALSE(repeat.repeating);
    EXPECT_EQ(repeat.repeat_count, 0);
}

TEST_F(ConfirmTestDetails, TheInstrumentReceivesTheCheckedNumbers)
{
    sim_process sim({"--instrument", "hvxa"}, "127.0.0.150");
    s_connection conn;
    conn.interface = LINK_LAN;
    conn.instrument_type = 7;
    connection_set_ip_address(&conn, sim.address().c_str());
    ASSERT_TRUE(model.read_all(&conn, true));
    target.connection = &conn;

    s_sweep_settings_texts t = typed_texts();
    t.minimum_cycles = "7.9";
    ASSERT_TRUE(confirm_test_details(target, t, prompt, host));

    // Read back from the instrument into a fresh model.
    hvx_cfg_ak readback;
    ASSERT_TRUE(readback.read_all(&conn, true));
    EXPECT_DOUBLE_EQ(readback.get_value_double(SWEEP_PARAM_WINDOW_TIME), 0.5);
    EXPECT_DOUBLE_EQ(readback.get_value_double(SWEEP_PARAM_MIN_CYCLES), 7);
    EXPECT_EQ(readback.get_value_int(SWEEP_PARAM_STEPS), 150);
    EXPECT_DOUBLE_EQ(readback.get_value_double(SWEEP_PARAM_START), 10000);
    EXPECT_DOUBLE_EQ(readback.get_value_double(SWEEP_PARAM_END), 2e6);
    EXPECT_EQ(readback.get_value_int(SWEEP_PARAM_SPEED), 4);
    EXPECT_EQ(changed_ids(model), std::vector<int>{}) << "every stored value was written";
}

}  // namespace
