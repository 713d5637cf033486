// The FRA sweep worker against a scripted instrument on the fake link and a
// fake clock: the exact traffic of each path, the progress commands, the
// block delivered (or not), where the link stands when a window hears of
// the result, and the save worker's rows.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "config/instrument_config.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_write.h"
#include "fra/fra_sweep_worker.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/recording_prompt.h"
#include "support/sqlite_file.h"
#include "support/sweep_fakes.h"
#include "support/temp_folder.h"

namespace {

class FraSweepWorker : public sweep_worker_fixture<s_sweep_job> {
public:
    void SetUp() override
    {
        sweep_worker_fixture::SetUp();
        conn.instrument_type = 7;
    }
};

TEST_F(FraSweepWorker, ADeliveredSweepHasExactTrafficProgressAndPoints)
{
    instrument.sweep_lines = {point_line(10, 6), point_line(100, 6), point_line(1000, 6)};
    instrument.polls_before_ready = 2;
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);

    EXPECT_EQ(traffic(), (std::vector<std::string>{"out,on", "config,18?", "config,6?", "config,58?", "config,1?",
                                                   "start", "DAV?", "DAV?", "DAV?", "gainph,sweep?"}));
    const std::vector<recorded_report> expected = {
        {PROGRESS_TOGGLE_PERCENTAGE, 0, ""}, {PROGRESS_SET_TEXT, 0, SWEEP_WAITING_TEXT},
        {PROGRESS_SET_TEXT, 0, SWEEP_DOWNLOADING_TEXT}, {PROGRESS_SET_RANGE, 3, ""},
        {PROGRESS_STEP, 1, ""}, {PROGRESS_STEP, 2, ""}, {PROGRESS_STEP, 3, ""}, {PROGRESS_DONE, 0, ""},
    };
    EXPECT_EQ(progress.reports, expected);
    EXPECT_EQ(view.commands, std::vector<int>{SWEEP_DOWNLOADED_COMMAND});
    EXPECT_FALSE(view.link_open_when_posted) << "the link is closed before the view hears of the sweep";
    EXPECT_EQ(job.block->points, 3);
    EXPECT_EQ(job.block->channels, 2);
    EXPECT_DOUBLE_EQ(job.block->point[0].frequency, 10);
    EXPECT_DOUBLE_EQ(job.block->point[2].delay, 1005);
    EXPECT_EQ(job.received, 3);
}

TEST_F(FraSweepWorker, AThreeChannelInstrumentGivesTenValueLines)
{
    conn.instrument_type = 9;
    conn.sub_model = 3;
    model.set_value_int(84, 1);
    instrument.config[18] = "2";
    instrument.sweep_lines = {point_line(1, 10), point_line(2, 10)};
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);
    EXPECT_EQ(job.block->channels, 3);
    EXPECT_EQ(job.block->is_type9, 1);
    EXPECT_DOUBLE_EQ(job.block->point[1].delay2, 11);
}

// Every run that does not deliver ends the progress window once, with the
// link closed, and tells the view nothing.
TEST_F(FraSweepWorker, RunsThatDeliverNothingStillEndTheirProgress)
{
    struct run_case {
        const char* name;
        std::function<void(FraSweepWorker&)> arrange;
        sweep_outcome outcome;
        bool start_sent;
    };
    const run_case cases[] = {
        {"datalog on, answered No",
         [](FraSweepWorker& t) { t.instrument.config[58] = "1"; }, sweep_outcome::abandoned, false},
        {"too few steps", [](FraSweepWorker& t) { t.instrument.config[18] = "1"; }, sweep_outcome::abandoned,
         false},
        {"too many steps", [](FraSweepWorker& t) { t.instrument.config[18] = "2001"; }, sweep_outcome::abandoned,
         false},
        {"steps never answered", [](FraSweepWorker& t) { t.instrument.config.erase(18); },
         sweep_outcome::abandoned, false},
        {"mode never answered", [](FraSweepWorker& t) { t.instrument.config.erase(1); },
         sweep_outcome::abandoned, false},
        {"cancel while waiting for data",
         [](FraSweepWorker& t) {
             t.instrument.polls_before_ready = 1000000;
             t.instrument.on_line = [&t](const std::string& line) {
                 if (line == "DAV?" && t.instrument.polls == 3) {
                     sweep_cancel_routine(t.job, nullptr);
                 }
             };
         },
         sweep_outcome::cancelled, true},
        {"a bad line after the first point",
         [](FraSweepWorker& t) { t.instrument.sweep_lines = {point_line(1, 6), "1.0,2.0", point_line(3, 6)}; },
         sweep_outcome::download_failed, true},
        {"nothing usable before the first point",
         [](FraSweepWorker& t) { t.instrument.sweep_lines = std::vector<std::string>(8, "garbage"); },
         sweep_outcome::download_failed, true},
    };
    for (const run_case& c : cases) {
        SCOPED_TRACE(c.name);
        fake.tcp.wire.reset();
        answer_from_instrument();
        instrument = scripted_instrument{};
        instrument.sweep_lines = {point_line(1, 6), point_line(2, 6), point_line(3, 6)};
        progress.reports.clear();
        view.commands.clear();
        job.cancel = false;
        c.arrange(*this);
        EXPECT_EQ(fra_sweep_worker(job, context), c.outcome);
        const std::vector<std::string> sent = traffic();
        EXPECT_EQ(std::count(sent.begin(), sent.end(), "start"), c.start_sent ? 1 : 0);
        EXPECT_EQ(progress.count(PROGRESS_DONE), 1);
        EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
        EXPECT_TRUE(view.commands.empty());
        EXPECT_FALSE(fake.tcp.is_open);
    }
}

TEST_F(FraSweepWorker, DatalogIsSwitchedOffOnlyWhenTheUserAgrees)
{
    instrument.config[58] = "1";
    instrument.sweep_lines = {point_line(1, 6), point_line(2, 6), point_line(3, 6)};
    prompt.answer_yes = true;
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, SWEEP_DATALOG_QUESTION);
    EXPECT_EQ(prompt.messages[0].caption, SWEEP_DATALOG_CAPTION);
    EXPECT_EQ(instrument.config[58], "0");
}

// Yes, but the instrument refuses to stop its datalog: no sweep is started
// against it.
TEST_F(FraSweepWorker, ADatalogThatWillNotStopAbandonsTheSweep)
{
    instrument.config[58] = "1";
    instrument.refused_writes = {58};
    prompt.answer_yes = true;
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::abandoned);
    for (const std::string& line : traffic()) {
        EXPECT_NE(line, "start");
    }
    EXPECT_EQ(progress.count(PROGRESS_DONE), 1);
    EXPECT_TRUE(view.commands.empty());
}

TEST_F(FraSweepWorker, AModeChangeSettlesForTwoSecondsBeforeTheStart)
{
    instrument.config[1] = "3";
    instrument.polls_before_ready = 0;
    instrument.sweep_lines = {point_line(1, 6), point_line(2, 6), point_line(3, 6)};
    std::uint64_t written_at = 0;
    std::uint64_t started_at = 0;
    instrument.on_line = [&](const std::string& line) {
        if (line == "config,1,1") {
            written_at = fake.clock.now;
        } else if (line == "start") {
            started_at = fake.clock.now;
        }
    };
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);
    EXPECT_EQ(instrument.config[1], "1");
    EXPECT_GE(started_at - written_at, 2000u);
}

TEST_F(FraSweepWorker, NoConnectionIsToldAndEndsTheProgress)
{
    fake.tcp.connect_ok = false;
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::no_connection);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, SWEEP_NO_CONNECTION_TEXT);
    EXPECT_EQ(prompt.messages[0].caption, SWEEP_NO_CONNECTION_CAPTION);
    EXPECT_EQ(progress.reports.back().command, PROGRESS_DONE);
    EXPECT_TRUE(view.commands.empty());
}

TEST_F(FraSweepWorker, ASavedSweepIsOneTestWithFrequencyGainAndPhase)
{
    temp_folder folder;
    const std::string file = folder.file("tests.db");
    recording_prompt database_messages;
    db_use_prompt(&database_messages);
    bool created = false;
    ASSERT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Bench");
    ASSERT_EQ(db_save_session(session, false), 0);
    job.save_to_database = true;
    job.pending_test.session_number = session.session_number;
    std::snprintf(job.pending_test.name, sizeof job.pending_test.name, "Loop A");
    instrument.sweep_lines = {point_line(10, 6), point_line(100, 6), point_line(1000, 6)};

    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);
    db_close();
    db_use_prompt(nullptr);
    EXPECT_EQ(progress.count(PROGRESS_DONE), 1) << "the save worker ends the progress";
    EXPECT_EQ(sqlite_file_rows(file, "SELECT Name FROM Test"), std::vector<std::string>{"Loop A"});
    EXPECT_EQ(sqlite_file_rows(file, "SELECT Frequency, Amplitude, Phase FROM Data ORDER BY DataNo"),
              (std::vector<std::string>{"10|13|14", "100|103|104", "1000|1003|1004"}));
}

// A save into a database another program holds locked fails with one
// message (not one from the session check and another from the save), and
// still ends the progress.
TEST_F(FraSweepWorker, ASaveThatFailsIsReportedOnce)
{
    temp_folder folder;
    const std::string file = folder.file("tests.db");
    recording_prompt database_messages;
    db_use_prompt(&database_messages);
    bool created = false;
    ASSERT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Bench");
    ASSERT_EQ(db_save_session(session, false), 0);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);

    job.save_to_database = true;
    job.pending_test.session_number = session.session_number;
    instrument.sweep_lines = {point_line(10, 6), point_line(100, 6), point_line(1000, 6)};
    EXPECT_EQ(fra_sweep_worker(job, context), sweep_outcome::delivered);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    db_close();
    db_use_prompt(nullptr);
    EXPECT_EQ(database_messages.messages.size(), 1u);
    EXPECT_EQ(progress.count(PROGRESS_DONE), 1);
    EXPECT_TRUE(sqlite_file_rows(file, "SELECT Name FROM Test").empty());
}

}  // namespace
