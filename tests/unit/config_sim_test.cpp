// The family models' transfers against the instrument simulator over
// loopback TCP (in the Windows build, under Wine, through Winsock): bulk
// reads and writes of family A and C instruments, the mode-dependent inputs
// across a mode change, and the simulator's fault knobs.
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "config/config_transfer.h"
#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "config/parameter_names.h"
#include "link/connection.h"
#include "link/identify.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"

namespace {

// The identified connection to a simulator.
std::unique_ptr<s_connection> connect_to(const sim_process& sim)
{
    auto conn = std::make_unique<s_connection>();
    conn->interface = LINK_LAN;
    connection_set_ip_address(conn.get(), sim.address().c_str());
    silent_prompt quiet;
    EXPECT_TRUE(identify_connection(conn.get(), quiet).identified);
    return conn;
}

std::unique_ptr<instrument_config> model_for(const s_connection& conn)
{
    if (conn.instrument_type == INSTRUMENT_HVXC) {
        return std::make_unique<hvx_cfg_ck>();
    }
    return std::make_unique<hvx_cfg_ak>();
}

int named_count(int instrument_type)
{
    const char* const* names = parameter_names_for_type(instrument_type);
    int count = 0;
    for (int n = 1; n < PARAMETER_NAME_COUNT; ++n) {
        count += !parameter_unused(names[n]);
    }
    return count;
}

// The simulator's commands from the first-th on that start with prefix.
std::vector<std::string> commands_since(const sim_process& sim, std::size_t first, const std::string& prefix)
{
    const std::vector<std::string> all = sim.commands();
    std::vector<std::string> out;
    for (std::size_t i = first; i < all.size(); ++i) {
        if (all[i].rfind(prefix, 0) == 0) {
            out.push_back(all[i]);
        }
    }
    return out;
}

// Waits until the simulator has taken every command of the last connection,
// that is until its transcript shows that connection closed (bounded: 10 s).
void wait_until_closed(const sim_process& sim)
{
    for (int i = 0; i < 1000; ++i) {
        const std::string transcript = sim.transcript();
        const std::size_t connect = transcript.rfind(" CONNECT ");
        if (connect != std::string::npos && transcript.find(" CLOSE", connect) != std::string::npos) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// "config,N,V" lines (not queries).
std::vector<std::string> writes_since(const sim_process& sim, std::size_t first)
{
    std::vector<std::string> out;
    for (const std::string& command : commands_since(sim, first, "config,")) {
        if (command.back() != '?') {
            out.push_back(command);
        }
    }
    return out;
}

class ConfigSim : public ::testing::Test {
protected:
    ConfigSim() { config_transfer_use_prompt(&prompt); }
    ~ConfigSim() override { config_transfer_use_prompt(nullptr); }
    recording_prompt prompt;
};

TEST_F(ConfigSim, UnchangedInstrumentGetsOnlyQueriesEvenAfterReadsOfTheMode)
{
    const struct {
        const char* key;
        const char* address;
    } cases[] = {{"hvxa", "127.0.0.121"}, {"hvxc", "127.0.0.122"}, {"hvxcm", "127.0.0.123"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.key);
        sim_process sim({"--instrument", c.key}, c.address);
        const std::unique_ptr<s_connection> conn = connect_to(sim);
        const std::unique_ptr<instrument_config> model = model_for(*conn);
        const std::size_t first = sim.commands().size();
        ASSERT_TRUE(model->read_all(conn.get(), true));
        wait_until_closed(sim);
        const std::size_t named = static_cast<std::size_t>(named_count(conn->instrument_type));
        EXPECT_EQ(commands_since(sim, first, "config,").size(), named);
        EXPECT_EQ(commands_since(sim, first, "SUSPEN,OFF").size(), 5u);

        ASSERT_EQ(link_open(conn.get()), 0);
        for (int i = 0; i < 3; ++i) {
            model->read_param(1, conn.get(), true);
        }
        link_close(conn.get());

        const std::size_t before_write = sim.commands().size();
        model->write_all(conn.get(), true);
        wait_until_closed(sim);
        EXPECT_EQ(writes_since(sim, before_write), std::vector<std::string>{});
        EXPECT_EQ(commands_since(sim, before_write, "config,").size(), named);
        EXPECT_TRUE(prompt.messages.empty()) << prompt.messages.front().text;
        EXPECT_EQ(conn->open, 0);
    }
}

TEST_F(ConfigSim, ChangedValuesSurviveAModeChangeAndANewConnection)
{
    sim_process sim({"--instrument", "hvxc"}, "127.0.0.124");
    const std::unique_ptr<s_connection> conn = connect_to(sim);
    ASSERT_TRUE(config_send_mode_command(conn.get(), instrument_mode_view::lcr));
    hvx_cfg_ck model;
    ASSERT_TRUE(model.read_all(conn.get(), true));
    ASSERT_EQ(model.get_value_int(1), 3);

    const std::size_t first = sim.commands().size();
    model.set_value_int(25, 1);
    model.set_value_double(12, 25.0);
    model.write_all(conn.get(), true);
    wait_until_closed(sim);
    // In the LCR mode the instrument counts inputs 25 and 26 two above the program.
    EXPECT_EQ(writes_since(sim, first), (std::vector<std::string>{"config,25,3", "config,12,2.5000E1"}));
    EXPECT_FALSE(model.record(25)->changed);

    // A model that still holds the default mode reads input 25 before the
    // mode, and must still end with the program's value.
    hvx_cfg_ck fresh;
    ASSERT_NE(fresh.get_value_int(1), 3);
    const std::unique_ptr<s_connection> again = connect_to(sim);
    ASSERT_TRUE(fresh.read_all(again.get(), true));
    EXPECT_EQ(fresh.get_value_int(25), 1);
    EXPECT_EQ(fresh.get_display_string(12), "2.5000E1");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(ConfigSim, FaultsAreCountedAndReportedWithTheirCodes)
{
    sim_process sim({"--instrument", "hvxa", "--suspend-busy", "--no-reply", "18:2", "--bad-reply", "13=-1",
                     "--out-of-limits", "3=9"},
                    "127.0.0.125");
    const std::unique_ptr<s_connection> conn = connect_to(sim);
    hvx_cfg_ak model;
    EXPECT_TRUE(model.read_all(conn.get(), true));  // two errors are tolerated
    wait_until_closed(sim);
    EXPECT_EQ(commands_since(sim, 0, "SUSPEN,ON").size(), 5u);
    ASSERT_EQ(prompt.messages.size(), 2u);
    EXPECT_EQ(prompt.messages[0].text,
              "An error occurred reading the config from the instrument \n(Id:13 [Speed] ret:65534)");
    EXPECT_EQ(prompt.messages[1].text,
              "An error occurred reading the config from the instrument \n(Id:3 [Bandwidth] ret:9)");
    EXPECT_EQ(commands_since(sim, 0, "config,18?").size(), 3u);  // two unanswered, then the value
}

TEST_F(ConfigSim, RefusedWriteKeepsTheChangeAndItsCode)
{
    sim_process sim({"--instrument", "hvxa", "--reject-write", "12:3"}, "127.0.0.126");
    const std::unique_ptr<s_connection> conn = connect_to(sim);
    hvx_cfg_ak model;
    model.set_value_text(12, "5.0000E1");
    EXPECT_FALSE(model.write_param(12, conn.get(), false));
    EXPECT_TRUE(model.record(12)->changed);
    ASSERT_TRUE(config_last_write_error());
    EXPECT_EQ(config_error_id(*config_last_write_error()), 12);
    EXPECT_EQ(config_error_ret(*config_last_write_error()), 48);
    EXPECT_EQ(conn->open, 0);

    EXPECT_TRUE(model.write_param(12, conn.get(), false));
    EXPECT_FALSE(model.record(12)->changed);
    model.set_value_text(12, "1.0000E0");
    model.read_param(12, conn.get(), false);
    EXPECT_EQ(model.get_display_string(12), "5.0000E1");
}

}  // namespace
