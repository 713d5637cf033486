// The generator monitor thread against the instrument simulator over
// loopback TCP, with configuration replies held back so that stops land in
// the middle of a pass: many start/stop rounds, each a connection of its own,
// none hanging, and the link timeout left as it was.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>

#include "config/config_selection.h"
#include "config/monitor_thread.h"
#include "link/connection.h"
#include "link/identify.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"

namespace {

// Only a hung monitor or simulator reaches it.
constexpr auto HANG_LIMIT = std::chrono::seconds(30);

class counting_sink final : public monitor_sink {
public:
    void show(const s_monitor_values& values) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++count_;
        last_ = values;
        changed_.notify_all();
    }
    bool wait_for(int count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, HANG_LIMIT, [&] { return count_ >= count; });
    }
    int count()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return count_;
    }
    s_monitor_values last()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return last_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
    s_monitor_values last_;
};

// The simulator's transcript records of one event ("CONNECT", "CLOSE").
int transcript_events(const sim_process& sim, const std::string& event)
{
    std::istringstream lines(sim.transcript());
    int count = 0;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream fields(line);
        std::string seconds, channel, name;
        fields >> seconds >> channel >> name;
        count += name == event;
    }
    return count;
}

TEST(MonitorSim, StopsAndStartsAgainstASlowInstrument)
{
    sim_process sim({"--instrument", "hvxc", "--slow-config-ms", "30"}, "127.0.0.210");
    auto conn = std::make_unique<s_connection>();
    conn->interface = LINK_LAN;
    connection_set_ip_address(conn.get(), sim.address().c_str());
    silent_prompt quiet;
    ASSERT_TRUE(identify_connection(conn.get(), quiet).identified);
    conn->connected = 1;
    config_select_for_type(conn->instrument_type);
    const int timeout_before = link_tcp_timeout_ms();

    s_monitor_thread monitor;
    counting_sink sink;
    constexpr int rounds = 12;
    for (int round = 0; round < rounds; ++round) {
        ASSERT_TRUE(monitor_start(monitor, {conn.get(), monitor_config, &sink})) << round;
        // Every other round waits for a whole pass; the others stop while the
        // first pass is still waiting for a reply.
        if (round % 2 == 1) {
            ASSERT_TRUE(sink.wait_for(sink.count() + 1)) << round;
        }
        monitor_stop(monitor);
        ASSERT_FALSE(monitor.thread.joinable()) << round;
        ASSERT_EQ(conn->open, 0) << round;
    }
    EXPECT_EQ(link_tcp_timeout_ms(), timeout_before);
    EXPECT_EQ(monitor.read_errors.load(), 0);
    EXPECT_EQ(sink.last().amplitude_ceiling, 15.0f);

    // The identification and one connection a round, each closed again.
    const int connections = rounds + 1;
    const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
    while (transcript_events(sim, "CLOSE") < connections && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(transcript_events(sim, "CONNECT"), connections);
    EXPECT_EQ(transcript_events(sim, "CLOSE"), connections);
}

}  // namespace
