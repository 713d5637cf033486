// The generator monitor over the fake link: what monitor_read_generator asks
// and in which order, where it stops, the link timeout it leaves behind, the
// values it hands on, and the monitor thread's start, stop, pacing and
// error ending. Every wait of the monitor runs on the fake clock.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "config/config_selection.h"
#include "config/instrument_config.h"
#include "config/monitor_read.h"
#include "config/monitor_thread.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/memory_log_environment.h"

namespace {

// Long enough for any machine to get through a handful of fake-clock reads;
// only a monitor that hangs reaches it.
constexpr auto HANG_LIMIT = std::chrono::seconds(30);

// The instrument's generator as the monitor sees it: replies by parameter
// number, none for a number without a value. Runs on whichever thread drives
// the link.
class generator_instrument {
public:
    std::map<int, std::string> values{{122, "0"},        {7, "1"},        {51, "1"},       {49, "1.5000E0"},
                                      {48, "1.0000E3"},  {50, "0.0000E0"}, {56, "9.0000E1"}};
    std::vector<int> queried;                 // parameter numbers, in order
    std::vector<std::uint64_t> asked_122_at;  // fake clock time of each first query of a pass
    std::function<void(int)> on_query;        // called before a query is answered
    std::function<int()> timeout_in_force;    // the link timeout a query sees
    std::vector<int> timeouts;
    fake_clock* clock = nullptr;

    std::string operator()(const std::string& line)
    {
        if (line.rfind("config,", 0) != 0 || line.back() != '?') {
            return "";
        }
        const int number = std::atoi(line.c_str() + 7);
        queried.push_back(number);
        if (number == 122 && clock) {
            asked_122_at.push_back(clock->now);
        }
        if (timeout_in_force) {
            timeouts.push_back(timeout_in_force());
        }
        if (on_query) {
            on_query(number);
        }
        const auto found = values.find(number);
        return found == values.end() ? "" : found->second + "\r\n";
    }
};

class MonitorLink : public ::testing::Test {
protected:
    MonitorLink() : scope(env), conn(std::make_unique<s_connection>())
    {
        config_objects_create();
        previous_tcp_timeout = link_tcp_timeout_ms();
        instrument.clock = &fake.clock;
        fake.tcp.wire.respond = [this](const std::string& line) { return instrument(line); };
        fake.serial.wire.respond = [this](const std::string& line) { return instrument(line); };
        use_lan(7, 0);
    }
    ~MonitorLink() override
    {
        link_close(conn.get());
        // The TCP timeout is process-wide: leave it as the next test expects.
        s_connection lan;
        lan.interface = LINK_LAN;
        link_set_timeout(&lan, previous_tcp_timeout);
    }

    void use_lan(int type, int option)
    {
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), "127.0.0.1");
        set_instrument(type, option);
    }
    void use_usb(int type, int option)
    {
        conn->interface = LINK_USB;
        connection_set_com_port(conn.get(), "COM3");
        conn->baud_rate = 19200;
        set_instrument(type, option);
    }
    void set_instrument(int type, int option)
    {
        conn->instrument_type = type;
        conn->current_option = option;
        conn->connected = 1;
        config_select_for_type(type);
    }
    int timeout_now() const
    {
        return conn->interface == LINK_LAN ? link_tcp_timeout_ms() : conn->serial_timeout_ms;
    }
    // Opens the link as the monitor thread does, with a timeout of its own in
    // force, and forgets the traffic so far.
    void open_with_timeout(int ms)
    {
        ASSERT_EQ(link_open(conn.get()), 0);
        link_set_timeout(conn.get(), ms);
        instrument.queried.clear();
    }
    monitor_read_result read() { return monitor_read_generator(*monitor_config, conn.get(), run); }

    memory_log_environment env;
    comms_log_scope scope;
    fake_link_backend fake;
    std::unique_ptr<s_connection> conn;
    generator_instrument instrument;
    std::atomic<bool> run{true};
    int previous_tcp_timeout = LINK_DEFAULT_TIMEOUT_MS;
};

const std::vector<int> generator_order = {122, 7, 51, 49, 48, 50};

TEST_F(MonitorLink, ReadsTheGeneratorParametersInOrder)
{
    struct order_case {
        int type, option;
        bool phase_reset;
    };
    const order_case cases[] = {{7, 0, true}, {7, 1, false}, {9, 0, false}, {5, 0, false}};
    for (const order_case& c : cases) {
        use_lan(c.type, c.option);
        open_with_timeout(LINK_DEFAULT_TIMEOUT_MS);
        const int connects = fake.tcp.connects;
        EXPECT_EQ(read(), monitor_read_result::complete);
        std::vector<int> expected = generator_order;
        if (c.phase_reset) {
            expected.push_back(56);
        }
        EXPECT_EQ(instrument.queried, expected) << c.type << "/" << c.option;
        EXPECT_TRUE(run.load());
        // The caller holds the link: the read neither opens nor closes it.
        EXPECT_EQ(fake.tcp.connects, connects);
        EXPECT_TRUE(fake.tcp.is_open);
        link_close(conn.get());
    }
}

TEST_F(MonitorLink, AClearedRunFlagStopsBeforeTheNextRead)
{
    struct stop_case {
        int clear_at;  // the query during which the flag is cleared
        std::vector<int> asked;
    };
    const stop_case cases[] = {
        {122, {122}},
        {51, {122, 7, 51}},
        {50, {122, 7, 51, 49, 48, 50}},  // 56 is not asked on type 7 with option 0
    };
    for (const stop_case& c : cases) {
        open_with_timeout(LINK_DEFAULT_TIMEOUT_MS);
        run = true;
        instrument.on_query = [&](int number) {
            if (number == c.clear_at) {
                run = false;
            }
        };
        EXPECT_EQ(read(), monitor_read_result::stopped) << c.clear_at;
        EXPECT_EQ(instrument.queried, c.asked) << c.clear_at;
        link_close(conn.get());
    }
}

TEST_F(MonitorLink, ATransferErrorEndsThePolling)
{
    instrument.values.erase(49);
    open_with_timeout(LINK_DEFAULT_TIMEOUT_MS);
    const float amplitude_before = static_cast<float>(monitor_config->get_value_double(49));
    EXPECT_EQ(read(), monitor_read_result::failed);
    EXPECT_FALSE(run.load());
    // 49 asked three times, nothing after it; what the model held is kept.
    EXPECT_EQ(instrument.queried, (std::vector<int>{122, 7, 51, 49, 49, 49}));
    EXPECT_EQ(static_cast<float>(monitor_config->get_value_double(49)), amplitude_before);
}

TEST_F(MonitorLink, TheLinkTimeoutIsPutBackAfterEveryRead)
{
    struct timeout_case {
        bool usb;
        int type;
        bool fails;
        int during;  // the timeout every query sees
    };
    const timeout_case cases[] = {
        {false, 9, false, 500}, {false, 9, true, 500}, {false, 7, false, 3000},
        {true, 9, false, 500},  {true, 9, true, 500},  {true, 7, true, 3000},
    };
    for (const timeout_case& c : cases) {
        c.usb ? use_usb(c.type, 0) : use_lan(c.type, 0);
        instrument.values[48] = "1.0000E3";
        if (c.fails) {
            instrument.values.erase(48);
        }
        instrument.timeouts.clear();
        instrument.timeout_in_force = [this] { return timeout_now(); };
        open_with_timeout(3000);
        run = true;
        read();
        const std::string label = std::string(c.usb ? "usb" : "lan") + " type " + std::to_string(c.type);
        ASSERT_FALSE(instrument.timeouts.empty()) << label;
        for (int seen : instrument.timeouts) {
            EXPECT_EQ(seen, c.during) << label;
        }
        EXPECT_EQ(timeout_now(), 3000) << label;
        if (c.usb) {
            EXPECT_EQ(fake.serial.timeout_ms, 3000) << label;
        }
        link_close(conn.get());
    }
    instrument.timeout_in_force = nullptr;
}

TEST_F(MonitorLink, ValuesHandedOnAreTheModelsReadAsNumbers)
{
    struct values_case {
        int type, option;
        int device;          // stored value of 122
        const char* amplitude;
        bool device_flag;
        float ceiling;
        bool phase_reset;
        float amplitude_value;
    };
    const float inf = std::numeric_limits<float>::infinity();
    const values_case cases[] = {
        {7, 0, 0, "1.5000E0", false, 10, true, 1.5f},
        {7, 1, 1, "2.5E-1", true, 10, false, 0.25f},
        {9, 0, 2, "1.0000E1", true, 15, false, 10},
        {5, 0, 0, "1E300", false, 10, false, inf},  // beyond a float: held as infinity
        {9, 0, 0, "-1E300", false, 15, false, -inf},
        {9, 0, 0, "abc", false, 15, false, 0},      // no number: 0, as atof reads it
    };
    for (const values_case& c : cases) {
        set_instrument(c.type, c.option);
        instrument_config& model = *monitor_config;
        model.set_value_int(122, c.device);
        model.set_value_int(7, 2);
        model.set_value_int(51, 3);
        model.set_value_text(49, c.amplitude);
        model.set_value_text(48, "1.2500E4");
        model.set_value_text(50, "-5.0000E-1");
        model.set_value_text(56, "4.5000E1");
        const s_monitor_values values = monitor_values_of(model, *conn);
        const std::string label = std::to_string(c.type) + "/" + std::to_string(c.option) + " " + c.amplitude;
        EXPECT_EQ(values.device_flag, c.device_flag) << label;
        EXPECT_EQ(values.output_state, 2) << label;
        EXPECT_EQ(values.waveform, 3) << label;
        EXPECT_EQ(values.amplitude, c.amplitude_value) << label;
        EXPECT_EQ(values.frequency, 12500.0f) << label;
        EXPECT_EQ(values.offset, -0.5f) << label;
        EXPECT_EQ(values.amplitude_ceiling, c.ceiling) << label;
        EXPECT_EQ(values.has_phase_reset, c.phase_reset) << label;
        EXPECT_EQ(values.phase_reset, c.phase_reset ? 45.0f : 0.0f) << label;
    }
}

// A sink that keeps every copy it is handed and lets the test wait for them.
class recording_sink final : public monitor_sink {
public:
    void show(const s_monitor_values& values) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        shown_.push_back(values);
        changed_.notify_all();
    }
    // Waits until count copies have arrived (false only for a hung monitor).
    bool wait_for(std::size_t count)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, HANG_LIMIT, [&] { return shown_.size() >= count; });
    }
    std::vector<s_monitor_values> shown()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return shown_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<s_monitor_values> shown_;
};

class MonitorThread : public MonitorLink {
protected:
    ~MonitorThread() override { monitor_stop(monitor); }
    s_monitor_job job() { return {conn.get(), monitor_config, &sink}; }
    // Waits until the thread has ended its run by itself.
    bool wait_until_ended()
    {
        const auto deadline = std::chrono::steady_clock::now() + HANG_LIMIT;
        while (monitor_running(monitor)) {
            if (std::chrono::steady_clock::now() > deadline) {
                return false;
            }
            std::this_thread::yield();
        }
        return true;
    }

    s_monitor_thread monitor;
    recording_sink sink;
};

TEST_F(MonitorThread, StartsOnlyWithAnInstrumentConnectedAndOnce)
{
    conn->connected = 0;
    EXPECT_FALSE(monitor_start(monitor, job()));
    EXPECT_FALSE(monitor.thread.joinable());
    EXPECT_EQ(fake.tcp.connects, 0);

    conn->connected = 1;
    EXPECT_FALSE(monitor_start(monitor, {conn.get(), monitor_config, nullptr}));
    ASSERT_TRUE(monitor_start(monitor, job()));
    EXPECT_FALSE(monitor_start(monitor, job()));  // runs already
    ASSERT_TRUE(sink.wait_for(2));
    monitor_stop(monitor);

    EXPECT_FALSE(monitor.thread.joinable());
    EXPECT_FALSE(fake.tcp.is_open);  // the link is free once stop returns
    EXPECT_EQ(fake.tcp.connects, 1);
    EXPECT_EQ(fake.tcp.closes, 1);
    monitor_stop(monitor);  // again: nothing to do
}

TEST_F(MonitorThread, ReadsOnceASecondAndHandsOnCopies)
{
    ASSERT_TRUE(monitor_start(monitor, job()));
    ASSERT_TRUE(sink.wait_for(4));
    monitor_stop(monitor);

    ASSERT_GE(instrument.asked_122_at.size(), 4u);
    for (std::size_t i = 1; i < instrument.asked_122_at.size(); ++i) {
        EXPECT_EQ(instrument.asked_122_at[i] - instrument.asked_122_at[i - 1], 1000u) << i;
    }
    const s_monitor_values first = sink.shown().front();
    EXPECT_EQ(first.output_state, 1);
    EXPECT_EQ(first.amplitude, 1.5f);
    EXPECT_EQ(first.frequency, 1000.0f);
    EXPECT_TRUE(first.has_phase_reset);
    EXPECT_EQ(first.phase_reset, 90.0f);
    EXPECT_EQ(monitor.read_errors.load(), 0);
}

TEST_F(MonitorThread, AReadErrorEndsTheRunAndTheNextStartJoinsIt)
{
    // 50 goes unanswered three times (one failed read), then answers again.
    instrument.values.erase(50);
    int asked_50 = 0;
    instrument.on_query = [&](int number) {
        if (number == 50 && ++asked_50 == 4) {
            instrument.values[50] = "2.0000E-1";
        }
    };
    ASSERT_TRUE(monitor_start(monitor, job()));
    ASSERT_TRUE(wait_until_ended());
    // The thread object of the ended run is still there until the next start.
    EXPECT_TRUE(monitor.thread.joinable());
    EXPECT_TRUE(sink.shown().empty());  // its only pass failed: nothing shown

    ASSERT_TRUE(monitor_start(monitor, job()));
    // The start has joined the ended thread: its count is final.
    EXPECT_EQ(monitor.read_errors.load(), 1);
    ASSERT_TRUE(sink.wait_for(1));
    monitor_stop(monitor);
    EXPECT_EQ(sink.shown().front().offset, 0.2f);
    EXPECT_EQ(fake.tcp.connects, 2);
    EXPECT_EQ(fake.tcp.closes, 2);
    EXPECT_FALSE(fake.tcp.is_open);
}

TEST_F(MonitorThread, ALinkThatWillNotOpenEndsTheRun)
{
    fake.tcp.connect_ok = false;
    ASSERT_TRUE(monitor_start(monitor, job()));
    ASSERT_TRUE(wait_until_ended());
    monitor_stop(monitor);
    EXPECT_EQ(monitor.read_errors.load(), 1);
    EXPECT_TRUE(instrument.queried.empty());
    EXPECT_TRUE(sink.shown().empty());
}

TEST_F(MonitorThread, StopsAndStartsManyTimesWithoutHanging)
{
    // Stops at every stage: before the first read, during a pass, between
    // passes; and a type 9 run each time, whose timeout must not stay behind.
    for (int round = 0; round < 200; ++round) {
        round % 2 ? use_lan(9, 0) : use_lan(7, 0);
        ASSERT_TRUE(monitor_start(monitor, job())) << round;
        if (round % 3 == 1) {
            const std::size_t seen = sink.shown().size();
            ASSERT_TRUE(sink.wait_for(seen + 1)) << round;
        }
        monitor_stop(monitor);
        ASSERT_FALSE(monitor.thread.joinable()) << round;
        ASSERT_FALSE(fake.tcp.is_open) << round;
        ASSERT_EQ(link_tcp_timeout_ms(), previous_tcp_timeout) << round;
    }
    EXPECT_EQ(fake.tcp.connects, 200);
    EXPECT_EQ(monitor.read_errors.load(), 0);
}

}  // namespace
