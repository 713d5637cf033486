// The database access layer against real SQLite files: round trips of
// sessions, tests and points, listings and their order, deletes, transactions
// that leave the file as it was when a step fails, and the point array of a
// test record. Files are checked through a second, independent connection.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <cstring>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/progress_reporter.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_path.h"
#include "db/db_points.h"
#include "db/db_read.h"
#include "db/db_write.h"
#include "support/failing_vfs.h"
#include "support/recording_prompt.h"
#include "support/sqlite_file.h"
#include "support/temp_folder.h"

namespace {

// Every row of a query on the file the program's path names.
std::vector<std::string> file_rows(const std::string& path, const std::string& sql)
{
    return sqlite_file_rows(cp1252_to_utf8(path), sql);
}

std::string file_value(const std::string& path, const std::string& sql)
{
    const std::vector<std::string> rows = file_rows(path, sql);
    return rows.empty() ? std::string("(no row)") : rows.front();
}

template <std::size_t N>
void set_text(char (&field)[N], const std::string& text)
{
    std::snprintf(field, N, "%s", text.c_str());
}

s_db_session make_session(const std::string& name, int year = 2019, int month = 11, int day = 3)
{
    s_db_session session;
    set_text(session.name, name);
    set_text(session.unit, "T1 transformer");
    set_text(session.location, "Substation 4");
    set_text(session.performed_by, "J. Smith");
    set_text(session.comments, "Winding resistance high");
    session.year = year;
    session.month = month;
    session.day = day;
    return session;
}

s_db_test make_test(std::int64_t session, const std::string& name, int points = 0)
{
    s_db_test test;
    test.session_number = session;
    set_text(test.name, name);
    set_text(test.winding, "HV-LV");
    set_text(test.description, "Frequency response");
    for (int i = 0; i < points; ++i) {
        EXPECT_EQ(db_add_point(test, {10.0 * (i + 1), -0.5 * i, 90.0 - i}), 0);
    }
    return test;
}

class collected_list final : public db_list_target {
public:
    void add_item(const char* line, std::int64_t item) override
    {
        lines.emplace_back(line);
        items.push_back(item);
    }
    std::vector<std::string> lines;
    std::vector<std::int64_t> items;
};

class collected_combo final : public db_combo_target {
public:
    void add_string(const char* text) override { texts.emplace_back(text); }
    std::vector<std::string> texts;
};

class recording_progress final : public progress_reporter {
public:
    void report(int command, std::intptr_t value, const char*) override { reports.emplace_back(command, value); }
    std::vector<std::pair<int, std::intptr_t>> reports;
};

class Database : public ::testing::Test {
protected:
    void SetUp() override
    {
        db_use_prompt(&prompt);
        bool created = false;
        ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    }
    void TearDown() override
    {
        EXPECT_EQ(db_transaction_depth(), 0);
        db_close();
        db_use_prompt(nullptr);
        db_use_point_reallocator(nullptr);
    }
    // Makes every insert of a point at this frequency fail.
    void refuse_points_at(double frequency)
    {
        ASSERT_EQ(db_exec(("CREATE TRIGGER refuse BEFORE INSERT ON Data WHEN NEW.Frequency = " +
                           std::to_string(frequency) + " BEGIN SELECT RAISE(ABORT, 'refused'); END")
                              .c_str()),
                  SQLITE_OK);
    }
    std::string table_contents()
    {
        std::string all;
        for (const char* table : {"Session", "Test", "Data"}) {
            for (const std::string& row : file_rows(path, std::string("SELECT * FROM ") + table)) {
                all += std::string(table) + ": " + row + "\n";
            }
        }
        return all;
    }

    temp_folder folder;
    std::string path = folder.file("tests.db");
    recording_prompt prompt;
};

TEST_F(Database, SessionsRoundTripAndAnUpdateRewritesEveryColumnButTheNumber)
{
    s_db_session session = make_session("Contract \xC9t\xE9 42");  // raw Windows-1252 bytes
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    EXPECT_GT(session.session_number, 0);
    EXPECT_EQ(file_value(path, "SELECT hex(Name), Date FROM Session"),
              "436F6E747261637420C974E9203432|2019-11-03 00:00:00");

    s_db_session loaded;
    loaded.session_number = session.session_number;
    ASSERT_EQ(db_get_session(loaded, false), SQLITE_OK);
    EXPECT_STREQ(loaded.name, session.name);
    EXPECT_STREQ(loaded.unit, "T1 transformer");
    EXPECT_STREQ(loaded.location, "Substation 4");
    EXPECT_STREQ(loaded.performed_by, "J. Smith");
    EXPECT_STREQ(loaded.comments, "Winding resistance high");
    EXPECT_EQ(loaded.year * 10000 + loaded.month * 100 + loaded.day, 20191103);

    s_db_session edited = make_session("Renamed", 2020, 2, 29);
    edited.session_number = session.session_number;
    set_text(edited.unit, "U");
    set_text(edited.location, "L");
    set_text(edited.performed_by, "P");
    set_text(edited.comments, "");
    ASSERT_EQ(db_save_session(edited, true), SQLITE_OK);
    EXPECT_EQ(edited.session_number, session.session_number);
    EXPECT_EQ(file_rows(path, "SELECT * FROM Session"),
              (std::vector<std::string>{std::to_string(session.session_number) +
                                        "|Renamed|U|2020-02-29 00:00:00|L|P|"}));
}

TEST_F(Database, APositiveNumberIsKeptOnInsertAndADuplicateIsRefused)
{
    s_db_session session = make_session("Numbered");
    session.session_number = 40;
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    EXPECT_EQ(session.session_number, 40);
    s_db_session again = make_session("Again");
    again.session_number = 40;
    EXPECT_EQ(db_save_session(again, false), SQLITE_CONSTRAINT);
    EXPECT_EQ(again.session_number, 40);
    EXPECT_EQ(file_rows(path, "SELECT SessionNo, Name FROM Session"), (std::vector<std::string>{"40|Numbered"}));
}

TEST_F(Database, DatesSQLiteCannotMakeReadAsZero)
{
    const struct {
        int year, month, day;
        int expected;  // year * 10000 + month * 100 + day
    } cases[] = {
        {2019, 13, 1, 0}, {2019, 1, 0, 0},          {999, 5, 5, 0}, {-5, 1, 1, 0},
        {2019, 0, 10, 0}, {2019, 12, 31, 20191231}, {1, 1, 1, 0},   {2000, 1, 1, 20000101},
    };
    for (const auto& c : cases) {
        s_db_session session = make_session("dated", c.year, c.month, c.day);
        ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
        s_db_session loaded;
        loaded.session_number = session.session_number;
        ASSERT_EQ(db_get_session(loaded, false), SQLITE_OK);
        EXPECT_EQ(loaded.year * 10000 + loaded.month * 100 + loaded.day, c.expected)
            << c.year << "-" << c.month << "-" << c.day;
        EXPECT_STREQ(loaded.name, "dated");
    }
}

TEST_F(Database, NullAndOverlongColumnsAreReadSafely)
{
    const std::string long_text(300, 'x');
    ASSERT_EQ(db_exec(("INSERT INTO Session VALUES (7, NULL, '" + long_text + "', NULL, '\tA\tB', NULL, '" +
                       long_text + "')")
                          .c_str()),
              SQLITE_OK);
    ASSERT_EQ(db_exec(("INSERT INTO Test VALUES (9, 7, '" + long_text + "', NULL, NULL)").c_str()), SQLITE_OK);

    s_db_session session;
    session.session_number = 7;
    ASSERT_EQ(db_get_session(session, false), SQLITE_OK);
    EXPECT_STREQ(session.name, "");
    EXPECT_EQ(std::string(session.unit), std::string(50, 'x'));
    EXPECT_EQ(session.year + session.month + session.day, 0);
    EXPECT_STREQ(session.location, "\tA\tB");  // kept outside list mode
    EXPECT_EQ(std::string(session.comments), std::string(150, 'x'));

    ASSERT_EQ(db_get_session(session, true), SQLITE_OK);
    EXPECT_STREQ(session.location, "AB");

    s_db_test test;
    ASSERT_EQ(db_load_test(test, 9, false, true), SQLITE_OK);
    EXPECT_EQ(std::string(test.name), std::string(50, 'x'));
    EXPECT_STREQ(test.winding, "");
    EXPECT_EQ(test.count, 0);

    collected_list list;
    ASSERT_EQ(db_list_sessions(&list, 0, true), SQLITE_OK);
    EXPECT_EQ(list.lines, (std::vector<std::string>{"\t" + std::string(50, 'x') + "\t0/0/0\tAB"}));
}

TEST_F(Database, ATestWith2000PointsRoundTripsInAscendingFrequency)
{
    s_db_session session = make_session("Sweeps");
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    s_db_test test = make_test(session.session_number, "Bode 1");
    // Stored in a scrambled order; read back sorted by frequency.
    for (int i = 0; i < 2000; ++i) {
        const int k = (i * 7919) % 2000;
        ASSERT_EQ(db_add_point(test, {1.0 + k * 0.5, -k / 3.0, k * 1e-3 - 180.0}), 0);
    }
    ASSERT_EQ(db_save_new_test(test), SQLITE_OK);
    EXPECT_GT(test.test_number, 0);
    EXPECT_EQ(file_value(path, "SELECT count(*), min(Graphed), max(Graphed), max(Range) FROM Data"), "2000|1|1|0");

    s_db_test loaded = make_test(99, "stale", 150);  // the load releases and clears these
    ASSERT_EQ(db_load_test(loaded, test.test_number, false, true), SQLITE_OK);
    EXPECT_EQ(loaded.test_number, test.test_number);
    EXPECT_EQ(loaded.session_number, session.session_number);
    EXPECT_STREQ(loaded.name, "Bode 1");
    EXPECT_STREQ(loaded.winding, "HV-LV");
    EXPECT_STREQ(loaded.description, "Frequency response");
    EXPECT_EQ(loaded.year * 10000 + loaded.month * 100 + loaded.day, 20191103);
    ASSERT_EQ(loaded.count, 2000);
    for (int k = 0; k < 2000; ++k) {
        const s_db_point& point = loaded.points[static_cast<std::size_t>(k)];
        ASSERT_EQ(point.frequency, 1.0 + k * 0.5) << k;
        ASSERT_EQ(point.amplitude, -k / 3.0) << k;
        ASSERT_EQ(point.phase, k * 1e-3 - 180.0) << k;
    }

    s_db_test header;
    ASSERT_EQ(db_load_test(header, test.test_number, false, false), SQLITE_OK);
    EXPECT_EQ(header.count, 0);
    EXPECT_EQ(header.points.get(), nullptr);
}

TEST_F(Database, MissingRowsAreReportedAsNotFound)
{
    s_db_test test = make_test(1, "x", 3);
    EXPECT_EQ(db_load_test(test, 5, false, true), SQLITE_NOTFOUND);
    EXPECT_EQ(test.test_number, 5);
    EXPECT_STREQ(test.name, "");
    EXPECT_EQ(test.count, 0);
    s_db_session session = make_session("x");
    session.session_number = 5;
    EXPECT_EQ(db_get_session(session, false), SQLITE_NOTFOUND);
    EXPECT_STREQ(session.name, "");
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(Database, SavingATestInsertsOrUpdatesAndKeepsTheNumberOnUpdate)
{
    s_db_test first = make_test(3, "first");
    s_db_test second = make_test(3, "second");
    ASSERT_EQ(db_save_test(first, false), SQLITE_OK);
    ASSERT_EQ(db_save_test(second, false), SQLITE_OK);
    EXPECT_EQ(second.test_number, first.test_number + 1);

    set_text(first.name, "first, renamed");
    set_text(first.winding, "W");
    set_text(first.description, "D");
    ASSERT_EQ(db_save_test(first, true), SQLITE_OK);
    EXPECT_EQ(first.test_number, second.test_number - 1);  // not the row inserted last
    EXPECT_EQ(
        file_rows(path, "SELECT * FROM Test ORDER BY TestNo"),
        (std::vector<std::string>{std::to_string(first.test_number) + "|3|first, renamed|W|D",
                                  std::to_string(second.test_number) + "|3|second|HV-LV|Frequency response"}));
}

TEST_F(Database, StoringATestWritesItsPointsInOneTransactionWithProgress)
{
    s_db_test test = make_test(1, "header");
    ASSERT_EQ(db_save_test(test, false), SQLITE_OK);
    test = make_test(1, "stored", 250);
    test.test_number = 1;
    recording_progress progress;
    EXPECT_FALSE(db_store_test_progress(test, 250, &progress));
    EXPECT_EQ(file_value(path, "SELECT Name FROM Test WHERE TestNo=1"), "stored");
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Data WHERE TestNo=1"), "250");
    ASSERT_EQ(progress.reports.size(), 251u);
    EXPECT_EQ(progress.reports.front(), std::make_pair(PROGRESS_SET_RANGE, std::intptr_t{250}));
    EXPECT_EQ(progress.reports.back(), std::make_pair(db_progress_step_command, std::intptr_t{250}));
    EXPECT_EQ(prompt.busy_changes, (std::vector<bool>{true, false}));
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(Database, AStoreNeverWalksMorePointsThanTheRecordHolds)
{
    s_db_test test = make_test(1, "t");
    ASSERT_EQ(db_save_test(test, false), SQLITE_OK);
    EXPECT_FALSE(db_store_test(test, 500));  // no array at all
    ASSERT_EQ(db_add_point(test, {1, 2, 3}), 0);
    EXPECT_FALSE(db_store_test(test, 500));
    EXPECT_FALSE(db_store_test(test, -4));
    EXPECT_EQ(file_rows(path, "SELECT Frequency, Amplitude, Phase FROM Data"),
              (std::vector<std::string>{"1|2|3"}));
}

TEST_F(Database, AFailedPointLeavesTheFileAsItWas)
{
    s_db_session session = make_session("s");
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    s_db_test test = make_test(session.session_number, "before");
    ASSERT_EQ(db_save_test(test, false), SQLITE_OK);
    refuse_points_at(1000.0);  // the 100th point
    const std::string before = table_contents();

    s_db_test changed = make_test(session.session_number, "after", 200);
    changed.test_number = test.test_number;
    EXPECT_TRUE(db_store_test(changed, 200));
    EXPECT_EQ(table_contents(), before);
    ASSERT_EQ(prompt.messages.size(), 1u);
    // The code's text, then SQLite's own words: the trigger's reason.
    EXPECT_EQ(prompt.messages[0].text, "Constraint Violation\nError Code: 19\nrefused");
    EXPECT_EQ(prompt.messages[0].caption, "Database Error");

    // A new test with its points: neither the row nor any point stays.
    s_db_test fresh = make_test(session.session_number, "fresh", 200);
    EXPECT_EQ(db_save_new_test(fresh), SQLITE_CONSTRAINT);
    EXPECT_EQ(fresh.test_number, 0);
    EXPECT_EQ(table_contents(), before);
}

TEST_F(Database, NestedLevelsJoinTheOutermostTransaction)
{
    // The caller's sequence for a finished sweep: a new test row, then its
    // points inside the caller's transaction. A failure inside undoes all of it.
    ASSERT_EQ(db_begin(), SQLITE_OK);
    s_db_test test = make_test(1, "sweep", 10);
    ASSERT_EQ(db_save_test(test, false), SQLITE_OK);
    EXPECT_EQ(sqlite3_get_autocommit(db_connection()), 0);  // still inside the caller's transaction
    EXPECT_FALSE(db_store_test(test, test.count));
    EXPECT_EQ(db_transaction_depth(), 1);
    EXPECT_EQ(db_rollback(), SQLITE_ABORT);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Test"), "0");
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Data"), "0");

    // An inner failure dooms the outer commit.
    ASSERT_EQ(db_begin(), SQLITE_OK);
    s_db_test kept = make_test(1, "kept");
    ASSERT_EQ(db_save_test(kept, false), SQLITE_OK);
    s_db_test duplicate = make_test(1, "duplicate");
    duplicate.test_number = kept.test_number;
    EXPECT_EQ(db_save_test(duplicate, false), SQLITE_CONSTRAINT);
    EXPECT_EQ(db_commit(), SQLITE_ABORT);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Test"), "0");
    EXPECT_EQ(sqlite3_get_autocommit(db_connection()), 1);

    // Without an open level, commit and rollback do nothing.
    EXPECT_EQ(db_commit(), SQLITE_MISUSE);
    EXPECT_EQ(db_rollback(), SQLITE_MISUSE);
}

TEST_F(Database, ANewTestIsRefusedForASessionThatDoesNotExist)
{
    s_db_test orphan = make_test(77, "orphan", 5);
    EXPECT_EQ(db_save_new_test(orphan), SQLITE_NOTFOUND);
    EXPECT_EQ(orphan.test_number, 0);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Test"), "0");
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Data"), "0");
}

TEST_F(Database, DeletesLeaveNoOrphansAndTouchNothingElse)
{
    std::int64_t sessions[2] = {};
    std::vector<std::int64_t> tests;
    for (std::int64_t& number : sessions) {
        s_db_session session = make_session("s");
        ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
        number = session.session_number;
        for (int i = 0; i < 3; ++i) {
            s_db_test test = make_test(number, "t", 4);
            ASSERT_EQ(db_save_new_test(test), SQLITE_OK);
            tests.push_back(test.test_number);
        }
    }
    ASSERT_EQ(db_delete_test(tests[1]), SQLITE_OK);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Data WHERE TestNo=" + std::to_string(tests[1])), "0");
    EXPECT_EQ(file_value(path, "SELECT count(*), count(DISTINCT TestNo) FROM Data"), "20|5");

    // The session alone: its tests stay for the caller to remove.
    ASSERT_EQ(db_delete_session(sessions[1]), SQLITE_OK);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Test"), "5");

    ASSERT_EQ(db_delete_session_and_tests(sessions[0]), SQLITE_OK);
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Session"), "0");
    EXPECT_EQ(file_rows(path, "SELECT DISTINCT SessionNo FROM Test"),
              (std::vector<std::string>{std::to_string(sessions[1])}));
    EXPECT_EQ(file_value(path, "SELECT count(*) FROM Data WHERE TestNo NOT IN (SELECT TestNo FROM Test)"), "0");
}

// Saves that fail for a cause outside the program (another program's lock,
// a read-only connection, a full database or disk) are told with SQLite's
// own words for that cause, never as some other error, and store nothing.
// The words survive the rollback that ends the failed transaction, so a
// caller that reports the code afterwards (as the tool does) gives them too.
// A full database refuses only what needs room: a sweep's points.
TEST_F(Database, SavesThatFailSayWhyInSQLitesWordsAndStoreNothing)
{
    s_db_session session = make_session("s");
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    s_db_test test = make_test(session.session_number, "kept", 3);
    ASSERT_EQ(db_save_new_test(test), SQLITE_OK);
    const std::string before = table_contents();

    std::unique_ptr<sqlite_file_lock> lock;
    std::unique_ptr<failing_vfs> disk;
    // Reopens the program's connection, under the failing file layer while
    // it is installed.
    const auto reopen = [this] {
        db_close();
        ASSERT_TRUE(db_open(path, DB_OPEN_EXISTING));
    };
    const struct {
        const char* what;
        std::function<void()> arm;
        std::function<void()> disarm;
        int code;
        std::string message;
        bool every_write_fails;
    } cases[] = {
        {"locked by another program",
         [&] { lock = std::make_unique<sqlite_file_lock>(cp1252_to_utf8(path), "BEGIN IMMEDIATE"); },
         [&] { lock.reset(); }, SQLITE_BUSY, "Database file is locked\nError Code: 5\ndatabase is locked", true},
        {"read-only", [] { db_exec("PRAGMA query_only=1"); }, [] { db_exec("PRAGMA query_only=0"); },
         SQLITE_READONLY, "Database is Read Only\nError Code: 8\nattempt to write a readonly database", true},
        {"database full",
         [this] {
             db_exec(("PRAGMA max_page_count=" + file_value(path, "PRAGMA page_count")).c_str());
         },
         [] { db_exec("PRAGMA max_page_count=1073741823"); }, SQLITE_FULL,
         "Databse Full!\nError Code: 13\ndatabase or disk is full", false},
        {"disk full under the file system",
         [&] {
             disk = std::make_unique<failing_vfs>();
             reopen();
             disk->fail_writes(true);
         },
         [&] {
             disk->fail_writes(false);
             db_close();
             disk.reset();
             reopen();
         },
         SQLITE_IOERR, "disk I/O error: the disk is full\nError Code: 10", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        prompt.messages.clear();
        c.arm();

        s_db_test changed = make_test(session.session_number, "changed", 2000);
        changed.test_number = test.test_number;
        EXPECT_TRUE(db_store_test(changed, 2000));
        if (c.every_write_fails) {
            s_db_session renamed = session;
            set_text(renamed.name, "renamed");
            EXPECT_EQ(db_save_session(renamed, true), c.code);
            const int remove = db_delete_session_and_tests(session.session_number);
            EXPECT_EQ(remove, c.code);
            db_report_error_code(remove);
        }

        c.disarm();
        ASSERT_EQ(prompt.messages.size(), c.every_write_fails ? 2u : 1u);
        for (const auto& shown : prompt.messages) {
            EXPECT_EQ(shown.text, c.message);
            EXPECT_EQ(shown.caption, "Database Error");
        }
        EXPECT_EQ(table_contents(), before);
        EXPECT_EQ(db_transaction_depth(), 0);
    }
}

TEST_F(Database, AFailedDeleteLeavesTheFileAsItWas)
{
    s_db_session session = make_session("s");
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    std::int64_t last = 0;
    for (int i = 0; i < 3; ++i) {
        s_db_test test = make_test(session.session_number, "t", 2);
        ASSERT_EQ(db_save_new_test(test), SQLITE_OK);
        last = test.test_number;
    }
    ASSERT_EQ(db_exec(("CREATE TRIGGER keep BEFORE DELETE ON Data WHEN OLD.TestNo = " + std::to_string(last) +
                       " BEGIN SELECT RAISE(ABORT, 'kept'); END")
                          .c_str()),
              SQLITE_OK);
    const std::string before = table_contents();
    EXPECT_EQ(db_delete_test(last), SQLITE_CONSTRAINT);
    EXPECT_EQ(table_contents(), before);
    EXPECT_EQ(db_delete_session_and_tests(session.session_number), SQLITE_CONSTRAINT);
    EXPECT_EQ(table_contents(), before);
}

TEST_F(Database, ListsSortIntegerColumnsByValueAndTextColumnsIgnoringCase)
{
    const char* names[] = {"beta", "Alpha", "gamma"};
    const char* units[] = {"U3", "U1", "U2"};
    for (int i = 0; i < 3; ++i) {
        s_db_session session = make_session(names[i], 2019, 3 - i, 1);
        set_text(session.unit, units[i]);
        set_text(session.location, "Bay\t" + std::to_string(i));  // the tab never reaches a line
        ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    }
    collected_list by_name;
    ASSERT_EQ(db_list_sessions(&by_name, 1, true), SQLITE_OK);
    EXPECT_EQ(by_name.lines, (std::vector<std::string>{"Alpha\tU1\t1/2/2019\tBay1", "beta\tU3\t1/3/2019\tBay0",
                                                       "gamma\tU2\t1/1/2019\tBay2"}));
    EXPECT_EQ(by_name.items, (std::vector<std::int64_t>{2, 1, 3}));

    collected_list by_date;
    ASSERT_EQ(db_list_sessions(&by_date, 3, false), SQLITE_OK);
    EXPECT_EQ(by_date.items, (std::vector<std::int64_t>{1, 2, 3}));

    // Twelve tests: numbered 1 to 12, which sort as 1, 10, 11, 12, 2... as text.
    for (int i = 0; i < 12; ++i) {
        s_db_test test = make_test(2, "test " + std::to_string(i + 1));
        ASSERT_EQ(db_save_test(test, false), SQLITE_OK);
    }
    s_db_test elsewhere = make_test(1, "elsewhere");
    ASSERT_EQ(db_save_test(elsewhere, false), SQLITE_OK);
    collected_list tests;
    ASSERT_EQ(db_list_tests(&tests, 2, 0, false), SQLITE_OK);
    ASSERT_EQ(tests.items.size(), 12u);
    for (std::size_t i = 0; i < 12; ++i) {
        EXPECT_EQ(tests.items[i], static_cast<std::int64_t>(12 - i));
    }
    EXPECT_EQ(tests.lines.front(), "HV-LV\ttest 12");

    collected_list refused;
    EXPECT_EQ(db_list_sessions(&refused, 7, true), SQLITE_RANGE);
    EXPECT_EQ(db_list_tests(&refused, 2, -1, true), SQLITE_RANGE);
    EXPECT_TRUE(refused.lines.empty());
}

TEST_F(Database, SessionsAreFoundByNameIgnoringCaseAndNotFoundIsZero)
{
    EXPECT_EQ(db_find_session_by_name("Anything"), 0);  // empty table
    for (const char* name : {"North Yard", "South Yard"}) {
        s_db_session session = make_session(name);
        ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    }
    EXPECT_EQ(db_find_session_by_name("south yard"), 2);
    EXPECT_EQ(db_find_session_by_name("NORTH YARD"), 1);
    EXPECT_EQ(db_find_session_by_name("East Yard"), 0);
    EXPECT_EQ(db_find_session_by_name("North"), 0);
    EXPECT_EQ(db_find_session_by_name(nullptr), 0);

    collected_combo combo;
    ASSERT_EQ(db_fill_combo(db_table::session, 1, combo), SQLITE_OK);
    EXPECT_EQ(combo.texts, (std::vector<std::string>{"North Yard", "South Yard"}));
    EXPECT_EQ(db_fill_combo(db_table::session, 9, combo), SQLITE_RANGE);
}

TEST_F(Database, ReadFailuresAreReportedWithSQLitesText)
{
    ASSERT_EQ(db_exec("DROP TABLE Session"), SQLITE_OK);
    collected_list list;
    EXPECT_EQ(db_list_sessions(&list, 0, true), SQLITE_ERROR);
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "no such table: Session");
    EXPECT_EQ(prompt.messages[0].caption, "Database Error");
}

TEST_F(Database, WithNoDatabaseOpenEveryOperationDoesNothing)
{
    db_close();
    s_db_session session = make_session("s");
    s_db_test test = make_test(1, "t", 3);
    EXPECT_EQ(db_save_session(session, false), db_not_open);
    EXPECT_EQ(db_save_test(test, false), db_not_open);
    EXPECT_EQ(test.test_number, 0);
    EXPECT_EQ(db_save_new_test(test), db_not_open);
    EXPECT_EQ(db_insert_point(1, 0, {}), db_not_open);
    EXPECT_EQ(db_delete_test(1), db_not_open);
    EXPECT_EQ(db_delete_session(1), db_not_open);
    EXPECT_EQ(db_delete_session_and_tests(1), db_not_open);
    EXPECT_EQ(db_load_test(test, 1, false, true), db_not_open);
    EXPECT_EQ(db_get_session(session, false), db_not_open);
    collected_list list;
    EXPECT_EQ(db_list_sessions(&list, 0, true), db_not_open);
    EXPECT_EQ(db_find_session_by_name("s"), 0);
    EXPECT_EQ(db_begin(), db_not_open);
    EXPECT_EQ(db_commit(), SQLITE_OK);
    EXPECT_TRUE(prompt.messages.empty());

    // A store sees the failure of its first step and reports it.
    EXPECT_TRUE(db_store_test(test, 3));
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unknown Error\nError Code: -1");
    EXPECT_EQ(db_transaction_depth(), 0);
}

TEST_F(Database, RowNumbersStayRightWhileAnotherThreadInserts)
{
    // The save worker stores points while the main thread adds sessions on
    // the same connection: each insert must learn its own row number.
    ASSERT_EQ(db_exec("PRAGMA synchronous=OFF"), SQLITE_OK);  // speed only
    std::thread worker([] {
        for (int i = 0; i < 300; ++i) {
            db_insert_point(1, 0, {static_cast<double>(i), 0, 0});
        }
    });
    std::vector<std::pair<std::int64_t, std::string>> made;
    for (int i = 0; i < 100; ++i) {
        s_db_session session = make_session("session " + std::to_string(i));
        ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
        made.emplace_back(session.session_number, session.name);
    }
    worker.join();
    for (const auto& [number, name] : made) {
        EXPECT_EQ(file_value(path, "SELECT Name FROM Session WHERE SessionNo=" + std::to_string(number)), name);
    }
}

// The point array of a record.

void* refuse_to_grow(void*, std::size_t)
{
    return nullptr;
}

TEST(DatabasePoints, TheArrayGrowsInStepsOfAHundredAndKeepsItsPointsWhenGrowingFails)
{
    s_db_test test;
    for (int i = 0; i < 100; ++i) {
        ASSERT_EQ(db_add_point(test, {static_cast<double>(i), 1, 2}), 0);
    }
    EXPECT_EQ(test.capacity, 100);
    ASSERT_EQ(db_add_point(test, {100, 1, 2}), 0);
    EXPECT_EQ(test.capacity, 200);
    EXPECT_EQ(test.count, 101);
    while (test.count < 200) {
        ASSERT_EQ(db_add_point(test, {static_cast<double>(test.count), 1, 2}), 0);
    }

    db_use_point_reallocator(refuse_to_grow);
    const s_db_point* array = test.points.get();
    EXPECT_EQ(db_add_point(test, {999, 0, 0}), -1);
    EXPECT_EQ(db_add_point(test, {999, 0, 0}), -1);
    db_use_point_reallocator(nullptr);
    EXPECT_EQ(test.points.get(), array);
    EXPECT_EQ(test.capacity, 200);
    EXPECT_EQ(test.count, 200);
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(test.points[static_cast<std::size_t>(i)].frequency, i);
    }

    ASSERT_EQ(db_add_point(test, {200, 1, 2}), 0);  // growing works again
    EXPECT_EQ(test.count, 201);
    db_free_points(test);
    EXPECT_EQ(test.points.get(), nullptr);
    EXPECT_EQ(test.capacity + test.count, 0);
}

}  // namespace
