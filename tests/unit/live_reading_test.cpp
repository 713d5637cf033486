// The live readings (FRA and LCR) against a scripted instrument on the fake
// link, with the view's part played by the owner: it answers each reading
// as the view does (sets `running` again) and ends the measurement after a
// few. The traffic, the retries, the reading kinds, the commands posted and
// the link timeout put back afterwards.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "fra/live_reading.h"
#include "impedance/lcr_realtime.h"
#include "link/connection.h"
#include "support/sweep_fakes.h"

namespace {

// "1,2,...": n values in the instrument's exponent form, value i = i + 1.
std::string values_line(int n)
{
    return point_line(1, n);
}

// A view that takes `wanted` readings: each post sets the job's `running`
// again, and the last one ends the measurement.
class reading_view final : public command_sink {
public:
    reading_view(s_sweep_flags& job, int wanted) : job_(job), wanted_(wanted) {}
    void post(int command) override
    {
        commands.push_back(command);
        if (static_cast<int>(commands.size()) >= wanted_) {
            activity_state() = 0;
        } else {
            job_.running = true;
        }
    }
    void post_value(int command, std::intptr_t value) override { valued.emplace_back(command, value); }
    std::vector<int> commands;
    std::vector<std::pair<int, std::intptr_t>> valued;

private:
    s_sweep_flags& job_;
    int wanted_;
};

template <typename Job>
class live_fixture : public sweep_worker_fixture<Job> {
public:
    void SetUp() override
    {
        sweep_worker_fixture<Job>::SetUp();
        this->conn.connected = 1;
        this->job.running = true;
        activity_state() = 1;
        link_set_timeout(&this->conn, 5000);
    }
    void TearDown() override { activity_state() = 0; }
};

using FraLiveReading = live_fixture<s_sweep_job>;

TEST_F(FraLiveReading, ReadsUntilTheViewStopsAndPutsTheTimeoutBack)
{
    conn.instrument_type = 7;
    int replies = 0;
    // The second reply is short: the wire is reset and the reading asked again.
    instrument.reading = [&](double) { return values_line(++replies == 2 ? 4 : 6); };
    reading_view owner(job, 3);
    job.owner = &owner;
    fra_live_worker(job, context);

    EXPECT_EQ(owner.commands, (std::vector<int>{LIVE_READING_COMMAND, LIVE_READING_COMMAND, LIVE_READING_COMMAND}));
    const std::vector<std::string> sent = traffic();
    EXPECT_EQ(sent, (std::vector<std::string>{"out,on", "*wai;fra?", "*wai;fra?", "*wai;fra?", "*wai;fra?"}));
    // The reset byte before the retry (traffic() leaves reset bytes out).
    int resets = 0;
    for (const std::string& line : fake.tcp.wire.sent_lines) {
        resets += line == std::string(1, LINK_RESET_BYTE);
    }
    EXPECT_EQ(resets, 2) << "the open's and the retry's";
    EXPECT_DOUBLE_EQ(job.reading.delay, 6);
    EXPECT_EQ(link_tcp_timeout_ms(), 5000) << "the live reading's 3000 ms does not outlive it";
    EXPECT_FALSE(fake.tcp.is_open);
}

TEST_F(FraLiveReading, AThreeChannelInstrumentNeedsTenValues)
{
    conn.instrument_type = 9;
    model.set_value_int(84, 1);
    int replies = 0;
    instrument.reading = [&](double) { return values_line(++replies == 1 ? 6 : 10); };
    reading_view owner(job, 1);
    job.owner = &owner;
    fra_live_worker(job, context);
    EXPECT_EQ(replies, 2);
    EXPECT_DOUBLE_EQ(job.reading.delay2, 10);
}

TEST_F(FraLiveReading, NothingHappensWithoutAConnectedInstrument)
{
    conn.connected = 0;
    reading_view owner(job, 1);
    job.owner = &owner;
    fra_live_worker(job, context);
    EXPECT_TRUE(fake.tcp.wire.sent_lines.empty());
    EXPECT_TRUE(owner.commands.empty());
}

using LcrLiveReading = live_fixture<s_lcr_sweep_job>;

// The kind of a live reading by instrument type and reply length; unknown
// lengths are asked again, and an instrument of another type is asked once.
TEST_F(LcrLiveReading, ReadingKindsAndWhatIsPosted)
{
    struct live_case {
        int type;
        std::vector<int> reply_lengths;  // in turn
        int kind;
        int lcr_questions;
        bool posted;
    };
    const live_case cases[] = {
        {9, {11}, 1, 1, true},
        {9, {14}, 5, 1, true},
        {7, {14}, 2, 1, true},
        {7, {5, 11}, 1, 2, true},
        {8, {11}, 1, 1, false},
    };
    for (const live_case& c : cases) {
        SCOPED_TRACE("type " + std::to_string(c.type));
        SetUp();
        conn.instrument_type = c.type;
        std::size_t turn = 0;
        int questions = 0;
        instrument.reading = [&](double) {
            ++questions;
            const int n = c.reply_lengths[std::min(turn++, c.reply_lengths.size() - 1)];
            // An instrument that is never answered for stops the test here.
            if (!c.posted) {
                activity_state() = 0;
            }
            return values_line(n);
        };
        reading_view owner(job, 1);
        reading_view results(job, 1000);
        job.owner = &owner;
        job.results = &results;
        lcr_live_worker(job, context);
        EXPECT_EQ(questions, c.lcr_questions);
        EXPECT_EQ(lcr_reading_kind(), c.kind);
        if (c.posted) {
            EXPECT_EQ(owner.commands, std::vector<int>{LCR_LIVE_READING_COMMAND});
            EXPECT_EQ(results.valued, (std::vector<std::pair<int, std::intptr_t>>{{LCR_RESULTS_REDRAW_COMMAND, 1}}));
            EXPECT_DOUBLE_EQ(job.reading[0], 1);
        } else {
            EXPECT_TRUE(owner.commands.empty());
            EXPECT_TRUE(results.valued.empty());
        }
    }
}

// The reading kinds and the points they give are the engine's only record
// of what a reading means: checked here as pure tables.
TEST(LcrReading, KindsByTypeCountAndSource)
{
    struct kind_case {
        int type, count;
        lcr_reading_source source;
        int kind;
    };
    const kind_case cases[] = {
        {7, 11, lcr_reading_source::live, 1},          {7, 14, lcr_reading_source::realtime_point, 2},
        {9, 11, lcr_reading_source::live, 1},          {9, 11, lcr_reading_source::realtime_point, 4},
        {9, 14, lcr_reading_source::live, 5},          {9, 13, lcr_reading_source::live, 0},
        {8, 11, lcr_reading_source::live, 0},
    };
    for (const kind_case& c : cases) {
        EXPECT_EQ(lcr_reading_kind_for(c.type, c.count, c.source), c.kind) << c.type << "/" << c.count;
    }
    const std::pair<int, int> shown[] = {{1, 11}, {2, 14}, {3, 8}, {4, 11}, {5, 14}, {6, 13}, {7, 5}, {8, 5}};
    for (const auto& [kind, count] : shown) {
        EXPECT_EQ(lcr_reading_value_count(kind), count) << kind;
        EXPECT_EQ(lcr_reading_value_names(kind).size(), static_cast<std::size_t>(count)) << kind;
    }
    EXPECT_EQ(lcr_reading_value_names(5)[11], "Tan\xF0");
}

TEST(LcrReading, AnUnknownKindAddsAZeroPointAndAFullBlockTakesNoMore)
{
    double reading[LCR_READING_VALUES];
    for (int i = 0; i < LCR_READING_VALUES; ++i) {
        reading[i] = i + 1;
    }
    auto block = make_lcr_sweep();
    int layout = 6;
    EXPECT_TRUE(append_lcr_reading(reading, 3, 0, 0, *block, layout));
    EXPECT_EQ(block->points, 1);
    EXPECT_EQ(layout, 6);
    EXPECT_DOUBLE_EQ(block->point[0].value[0], 0);
    block->points = SWEEP_MAX_POINTS;
    EXPECT_FALSE(append_lcr_reading(reading, 1, 0, 0, *block, layout));
    EXPECT_EQ(block->points, SWEEP_MAX_POINTS);
}

}  // namespace
