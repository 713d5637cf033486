// The real-time sweeps (FRA and LCR) against a scripted instrument on the
// fake link and a fake clock, driven as a view drives them: each point
// worker's 245 answered with point_arrived on the test's thread. The
// traffic of a whole run, the generator left as asked, pause, resume and
// cancel at each stage, the point-ready tests, short replies, and the
// points the reading kinds give.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fra/command_queue.h"
#include "fra/fra_realtime.h"
#include "fra/lcr_layout.h"
#include "impedance/lcr_realtime.h"
#include "support/sweep_fakes.h"

namespace {

// "f,1,2,3,4,5": a reading whose first value is the generator frequency.
std::string reading_at(double frequency, int values)
{
    std::string line;
    for (int i = 0; i < values; ++i) {
        char field[32];
        std::snprintf(field, sizeof field, "%.4E", i == 0 ? frequency : static_cast<double>(i));
        line += (i ? "," : "") + std::string(field);
    }
    return line;
}

// The next command a worker posted, -1 when none came within 10 s.
int next_command(command_queue& queue)
{
    const std::optional<s_posted_command> taken = queue.take(10000);
    return taken ? taken->command : -1;
}

template <typename Job>
class realtime_fixture : public sweep_worker_fixture<Job> {
public:
    void SetUp() override
    {
        sweep_worker_fixture<Job>::SetUp();
        this->job.view = &queue;
        this->conn.instrument_type = 7;
        this->instrument.config[18] = "2";
        this->model.set_value_int(18, 2);
        this->model.set_value_text(19, "1.0000E+001");
        this->model.set_value_text(20, "1.0000E+003");
        this->instrument.polls_before_ready = 0;
    }
    // Answers every 245 as the view does until the sweep stops running.
    template <typename Sweep>
    void answer_points(Sweep& sweep)
    {
        while (sweep.phase() == realtime_phase::running) {
            ASSERT_EQ(next_command(queue), REALTIME_POINT_COMMAND);
            sweep.point_arrived();
        }
    }
    command_queue queue;
    s_sweep_request request;
};

class FraRealtimeSweep : public realtime_fixture<s_sweep_job> {
public:
    void SetUp() override
    {
        realtime_fixture::SetUp();
        instrument.ready_status = 3;
        instrument.reading = [](double f) { return reading_at(f, 6); };
    }
};

TEST_F(FraRealtimeSweep, ATwoStepSweepMeasuresBothEndsAndSwitchesTheOutputOff)
{
    fra_realtime_sweep sweep(job, context, request);
    fra_realtime_control(sweep, REALTIME_START);
    answer_points(sweep);

    EXPECT_EQ(sweep.phase(), realtime_phase::finished);
    EXPECT_EQ(traffic(), (std::vector<std::string>{"out,on", "config,18?", "config,6?", "config,58?", "config,1?",
                                                   "config,48,1.0000E+001", "*esr?",
                                                   "config,48,1.0000E+001", "*esr?", "DAV?", "fra?",
                                                   "config,48,1.0000E+003", "*esr?", "DAV?", "fra?",
                                                   "config,7,0", "*esr?"}));
    ASSERT_EQ(sweep.shown().points, 2);
    EXPECT_DOUBLE_EQ(sweep.shown().point[0].frequency, 10);
    EXPECT_NEAR(sweep.shown().point[1].frequency, 1000, 1e-9);
    EXPECT_DOUBLE_EQ(sweep.shown().point[1].delay, 5);
    EXPECT_EQ(sweep.shown().channels, 2);
    EXPECT_FALSE(fake.tcp.is_open);
}

TEST_F(FraRealtimeSweep, TheGeneratorIsLeftAsTheRequestSays)
{
    struct ending {
        bool keep_output_on;
        bool set_start_frequency;
        const char* last_line;
    };
    for (const ending& e : {ending{false, false, "config,7,0"}, ending{true, false, "config,48,2.0000E+003"},
                            ending{true, true, "config,48,5.0000E+001"}}) {
        SCOPED_TRACE(e.last_line);
        fake.tcp.wire.sent_lines.clear();
        request.keep_output_on = e.keep_output_on;
        request.set_start_frequency = e.set_start_frequency;
        request.start_frequency = 50;
        request.end_frequency = 2000;
        fra_realtime_sweep sweep(job, context, request);
        fra_realtime_control(sweep, REALTIME_START);
        answer_points(sweep);
        const std::vector<std::string> sent = traffic();
        ASSERT_GE(sent.size(), 2u);
        EXPECT_EQ(sent[sent.size() - 2], e.last_line) << "the last write, before its status check";
    }
}

TEST_F(FraRealtimeSweep, ASavedSweepGoesToTheJobsBlockWhenItFinishes)
{
    job.save_to_database = true;
    instrument.config[18] = "3";
    model.set_value_int(18, 3);
    fra_realtime_sweep sweep(job, context, request);
    fra_realtime_control(sweep, REALTIME_START);
    answer_points(sweep);
    ASSERT_EQ(job.block->points, 3);
    EXPECT_NEAR(job.block->point[1].frequency, 100, 1e-9);
}

// A refused preparation starts no point and leaves nothing on the link.
TEST_F(FraRealtimeSweep, APreparationThatRefusesGivesUp)
{
    struct refusal {
        const char* name;
        std::function<void(FraRealtimeSweep&)> arrange;
    };
    const refusal refusals[] = {
        {"step count out of range", [](FraRealtimeSweep& t) { t.instrument.config[18] = "1"; }},
        {"datalog kept on", [](FraRealtimeSweep& t) { t.instrument.config[58] = "1"; }},
        {"no connection", [](FraRealtimeSweep& t) { t.fake.tcp.connect_ok = false; }},
    };
    for (const refusal& r : refusals) {
        SCOPED_TRACE(r.name);
        SetUp();
        r.arrange(*this);
        fra_realtime_sweep sweep(job, context, request);
        fra_realtime_control(sweep, REALTIME_START);
        EXPECT_EQ(sweep.phase(), realtime_phase::gave_up);
        for (const std::string& line : traffic()) {
            EXPECT_NE(line, "fra?");
            EXPECT_EQ(line.rfind("config,48,", 0), std::string::npos);
        }
        EXPECT_FALSE(fake.tcp.is_open);
    }
}

// "DAV?" 3 releases an FRA point, 1 does not (both point-ready bits are
// needed); a point that is never ready is ended by a cancel, which joins
// the worker although the list is empty by then.
TEST_F(FraRealtimeSweep, OnlyBothPointReadyBitsReleaseAPointAndCancelJoinsTheLastOne)
{
    instrument.ready_status = 1;
    instrument.config[18] = "2";
    std::atomic<int> polls{0};
    instrument.on_line = [&](const std::string& line) { polls += line == "DAV?"; };
    fra_realtime_sweep sweep(job, context, request);
    fra_realtime_control(sweep, REALTIME_START);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (polls < 5 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    fra_realtime_control(sweep, REALTIME_CANCEL);
    EXPECT_EQ(sweep.phase(), realtime_phase::cancelled);
    const std::vector<std::string> sent = traffic();
    for (const std::string& line : sent) {
        EXPECT_NE(line, "fra?");
    }
    // The worker has ended: nothing more goes out, and its 245 adds nothing.
    EXPECT_EQ(next_command(queue), REALTIME_POINT_COMMAND);
    EXPECT_FALSE(sweep.point_arrived());
    EXPECT_EQ(traffic(), sent);
    EXPECT_EQ(sweep.shown().points, 0);
    EXPECT_FALSE(fake.tcp.is_open);
}

// A pause while a point waits for data stops that worker; the frequency is
// measured on resume, so no frequency is lost or measured twice.
TEST_F(FraRealtimeSweep, PauseAndResumeLoseNoFrequency)
{
    instrument.config[18] = "3";
    model.set_value_int(18, 3);
    std::atomic<bool> hold{true};
    std::atomic<int> held_polls{0};
    instrument.on_line = [&](const std::string& line) {
        if (line == "DAV?" && hold) {
            ++held_polls;
        }
    };
    instrument.polls_before_ready = 0;
    // "DAV?" says nothing is ready while held.
    fake.tcp.wire.respond = [&](const std::string& line) {
        if (line == "DAV?" && hold) {
            instrument.on_line(line);
            return std::string("0\r\n");
        }
        return instrument.answer(line);
    };
    fra_realtime_sweep sweep(job, context, request);
    fra_realtime_control(sweep, REALTIME_START);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (held_polls < 3 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::yield();
    }
    fra_realtime_control(sweep, REALTIME_PAUSE_RESUME);
    EXPECT_EQ(sweep.phase(), realtime_phase::paused);
    EXPECT_EQ(sweep.frequencies().size(), 3u) << "the stopped point is measured again";
    EXPECT_EQ(next_command(queue), REALTIME_POINT_COMMAND);
    EXPECT_FALSE(sweep.point_arrived()) << "the stopped worker's 245 finds nothing";

    hold = false;
    fra_realtime_control(sweep, REALTIME_PAUSE_RESUME);
    answer_points(sweep);
    EXPECT_EQ(sweep.phase(), realtime_phase::finished);
    ASSERT_EQ(sweep.shown().points, 3);
    EXPECT_DOUBLE_EQ(sweep.shown().point[0].frequency, 10);
    EXPECT_NEAR(sweep.shown().point[1].frequency, 100, 1e-9);
    EXPECT_NEAR(sweep.shown().point[2].frequency, 1000, 1e-9);
}

// Each attempt starts from a zeroed point: a short reply is asked again and
// never mixes with the next one.
TEST_F(FraRealtimeSweep, AShortReadingIsAskedAgain)
{
    int attempts = 0;
    instrument.reading = [&](double f) { return reading_at(f, ++attempts % 2 == 1 ? 4 : 6); };
    fra_realtime_sweep sweep(job, context, request);
    fra_realtime_control(sweep, REALTIME_START);
    answer_points(sweep);
    ASSERT_EQ(sweep.shown().points, 2);
    EXPECT_EQ(attempts, 4);
    EXPECT_DOUBLE_EQ(sweep.shown().point[0].delay, 5);
}

class LcrRealtimeSweep : public realtime_fixture<s_lcr_sweep_job> {
public:
    void SetUp() override
    {
        realtime_fixture::SetUp();
        instrument.config[1] = "3";
        instrument.ready_status = 1;  // any non-zero status releases an LCR point
    }
};

// The reading kind by instrument type and reply length, and the point it
// gives in the shown block.
TEST_F(LcrRealtimeSweep, PointsFollowTheReadingKind)
{
    struct kind_case {
        int type;
        int values;
        int measured_quantity;
        int circuit;
        int kind;
        int layout;
        std::vector<double> point;  // values 0 to 7 of the second point
    };
    const kind_case cases[] = {
        {9, 11, 0, 0, 4, LCR_LAYOUT_IMPEDANCE, {1000, 5, 6, 3, 4, 0, 0, 0}},
        {9, 11, 4, 0, 4, LCR_LAYOUT_ADMITTANCE, {1000, 9, 10, 7, 8, 0, 0, 0}},
        {9, 14, 0, 1, 5, LCR_LAYOUT_READING, {1000, 12, 11, 3, 4, 9, 10, 8}},
        {7, 14, 0, 0, 2, LCR_LAYOUT_READING, {1000, 12, 11, 3, 4, 6, 7, 5}},
        {7, 11, 0, 0, 1, LCR_LAYOUT_ADMITTANCE, {1000, 9, 10, 7, 8, 0, 0, 0}},
    };
    for (const kind_case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " with " + std::to_string(c.values) + " values");
        SetUp();
        conn.instrument_type = c.type;
        model.set_value_int(137, c.measured_quantity);
        model.set_value_int(138, c.circuit);
        instrument.reading = [&](double f) { return reading_at(f, c.values); };
        lcr_realtime_sweep sweep(job, context, request);
        lcr_realtime_control(sweep, REALTIME_START);
        answer_points(sweep);
        EXPECT_EQ(sweep.phase(), realtime_phase::finished);
        EXPECT_EQ(lcr_reading_kind(), c.kind);
        EXPECT_EQ(sweep.shown_layout(), c.layout);
        ASSERT_EQ(sweep.shown().points, 2);
        for (int i = 0; i < 8; ++i) {
            EXPECT_NEAR(sweep.shown().point[1].value[i], c.point[static_cast<std::size_t>(i)], 1e-9) << i;
        }
    }
}

TEST_F(LcrRealtimeSweep, TheInstrumentGoesToItsLcrModeAndTheGeneratorIsNotPreset)
{
    instrument.config[1] = "1";
    instrument.reading = [](double f) { return reading_at(f, 11); };
    lcr_realtime_sweep sweep(job, context, request);
    lcr_realtime_control(sweep, REALTIME_START);
    answer_points(sweep);
    EXPECT_EQ(traffic(), (std::vector<std::string>{"out,on", "config,18?", "config,6?", "config,58?", "config,1?",
                                                   "config,1,3", "*esr?", "config,48,1.0000E+001", "*esr?",
                                                   "DAV?", "lcr?", "config,48,1.0000E+003", "*esr?", "DAV?",
                                                   "lcr?", "config,7,0", "*esr?"}));
}

}  // namespace
