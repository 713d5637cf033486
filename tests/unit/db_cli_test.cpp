// The command-line tool's database commands, run as a separate process (this
// build's corvexa2-cli): their output lines, exit statuses and messages, and
// that only "db new-session" ever creates a file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include <sqlite3.h>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_read.h"
#include "db/db_write.h"
#include "support/file_bytes.h"
#include "support/sqlite_file.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

namespace fs = std::filesystem;

// The rows of a table, counted through a connection of the test's own.
int row_count(const std::string& path, const char* table)
{
    const std::vector<std::string> rows = sqlite_file_rows(path, std::string("SELECT count(*) FROM ") + table);
    return rows.empty() ? -1 : std::atoi(rows.front().c_str());
}

class DatabaseCommands : public ::testing::Test {
protected:
    s_tool_run tool(const std::vector<std::string>& words) { return runner.run(words); }
    // A session with two tests (the first with points) made in-process.
    void fill_database()
    {
        bool created = false;
        ASSERT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
        s_db_session session;
        std::snprintf(session.name, sizeof session.name, "North Yard");
        std::snprintf(session.unit, sizeof session.unit, "T1");
        std::snprintf(session.location, sizeof session.location, "Bay 4");
        session.year = 2019;
        session.month = 11;
        session.day = 3;
        ASSERT_EQ(db_save_session(session, false), 0);
        for (const char* name : {"HV open", "LV short"}) {
            s_db_test test;
            test.session_number = session.session_number;
            std::snprintf(test.name, sizeof test.name, "%s", name);
            std::snprintf(test.winding, sizeof test.winding, "Project 7");
            if (test.name[0] == 'H') {
                for (const s_db_point& point :
                     {s_db_point{1000, -3.5, 45.25}, s_db_point{0.1, 1e-5, -180}, s_db_point{20, 0, 1.0 / 3}}) {
                    ASSERT_EQ(db_add_point(test, point), 0);
                }
            }
            ASSERT_EQ(db_save_new_test(test), 0);
        }
        db_close();
    }

    temp_folder scratch;
    std::string file = scratch.file("tests.db");
    tool_runner runner;
};

TEST_F(DatabaseCommands, ListRowsTabSeparatedOnePerLine)
{
    fill_database();
    const s_tool_run sessions = tool({"db", "sessions", file});
    EXPECT_EQ(sessions.status, 0) << sessions.err;
    EXPECT_EQ(sessions.out, "1\tNorth Yard\tT1\t3/11/2019\tBay 4\n");

    const s_tool_run tests = tool({"db", "tests", file, "1"});
    EXPECT_EQ(tests.status, 0) << tests.err;
    EXPECT_EQ(tests.out, "1\tProject 7\tHV open\n2\tProject 7\tLV short\n");

    const s_tool_run points = tool({"db", "points", file, "1"});
    EXPECT_EQ(points.status, 0) << points.err;
    EXPECT_EQ(points.out, "0.1\t1e-005\t-180\n20\t0\t0.3333333333333333\n1000\t-3.5\t45.25\n");

    const s_tool_run none = tool({"db", "points", file, "2"});
    EXPECT_EQ(none.status, 0) << none.err;
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "");
}

TEST_F(DatabaseCommands, NewSessionCreatesTheFileWhenNeededAndPrintsTheNumber)
{
    const s_tool_run first = tool({"db", "new-session", file, "Site A"});
    EXPECT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, "1\n");
    const s_tool_run second = tool({"db", "new-session", file, "Site B"});
    EXPECT_EQ(second.out, "2\n");

    const s_tool_run sessions = tool({"db", "sessions", file});
    EXPECT_EQ(sessions.status, 0);
    // Dated today; the other columns are empty.
    EXPECT_TRUE(std::regex_match(sessions.out, std::regex("1\tSite A\t\t[0-9]+/[0-9]+/[0-9]{4}\t\n"
                                                          "2\tSite B\t\t[0-9]+/[0-9]+/[0-9]{4}\t\n")))
        << sessions.out;
}

TEST_F(DatabaseCommands, DeletesRemoveTestsWithTheirPoints)
{
    fill_database();
    const s_tool_run test = tool({"db", "delete-test", file, "2"});
    EXPECT_EQ(test.status, 0) << test.err;
    EXPECT_EQ(tool({"db", "tests", file, "1"}).out, "1\tProject 7\tHV open\n");

    const s_tool_run session = tool({"db", "delete-session", file, "1"});
    EXPECT_EQ(session.status, 0) << session.err;
    EXPECT_EQ(tool({"db", "sessions", file}).out, "");

    // No test or point is left behind.
    for (const char* table : {"Session", "Test", "Data"}) {
        EXPECT_EQ(row_count(file, table), 0) << table;
    }
    EXPECT_EQ(tool({"db", "points", file, "1"}).status, 1);
}

TEST_F(DatabaseCommands, RefusalsSayWhyAndCreateNothing)
{
    fill_database();
    const std::string missing = scratch.file("missing.db");
    const std::string text = scratch.file("notes.db");
    std::ofstream(text, std::ios::binary) << "Frequency (Hz),Gain (dB),Phase\r\n";
    const std::string empty = scratch.file("empty.db");
    std::ofstream(empty, std::ios::binary) << "";
    const std::string before = read_bytes(file);

    const struct {
        std::vector<std::string> words;
        int status;
        std::string err;  // the first line of standard error
    } cases[] = {
        {{"db", "sessions", missing}, 1, "Database file not found: " + missing},
        {{"db", "tests", missing, "1"}, 1, "Database file not found: " + missing},
        {{"db", "delete-test", missing, "1"}, 1, "Database file not found: " + missing},
        {{"db", "sessions", text}, 1, text + " is not a Corvexa2 database file"},
        {{"db", "points", empty, "1"}, 1, empty + " is not a Corvexa2 database file"},
        {{"db", "new-session", text, "A"}, 1, text + " is not a Corvexa2 database file"},
        {{"db", "new-session", empty, "A"}, 1, empty + " is not a Corvexa2 database file"},
        {{"db", "tests", file, "9"}, 1, "No session 9 in " + file},
        {{"db", "delete-session", file, "9"}, 1, "No session 9 in " + file},
        {{"db", "points", file, "9"}, 1, "No test 9 in " + file},
        {{"db", "delete-test", file, "9"}, 1, "No test 9 in " + file},
        {{"db", "tests", file, "0"}, 2, "corvexa2-cli: SESSION_ID must be a whole number from 1 up"},
        {{"db", "points", file, "1x"}, 2, "corvexa2-cli: TEST_ID must be a whole number from 1 up"},
        {{"db", "delete-test", file, "-1"}, 2, "corvexa2-cli: TEST_ID must be a whole number from 1 up"},
        {{"db", "sessions"}, 2, "corvexa2-cli: expected FILE"},
        {{"db", "tests", file}, 2, "corvexa2-cli: expected FILE SESSION_ID"},
        {{"db", "new-session", file, std::string(51, 'n')}, 2, "corvexa2-cli: NAME must be 1 to 50 characters"},
    };
    for (const auto& c : cases) {
        std::string words;
        for (const std::string& word : c.words) {
            words += word + " ";
        }
        SCOPED_TRACE(words);
        const s_tool_run run = tool(c.words);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')), c.err);
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(missing));
    EXPECT_EQ(read_bytes(text), "Frequency (Hz),Gain (dB),Phase\r\n");
    EXPECT_EQ(read_bytes(empty), "");
    EXPECT_EQ(read_bytes(file), before);
}

// Runs SQL on the file through a connection of the test's own.
void run_sql(const std::string& path, const std::string& sql)
{
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(connection);
}

// Tables with the program's names and rows in them, but other columns: no
// command reads, lists or deletes anything in it, whatever it holds.
TEST_F(DatabaseCommands, AForeignDatabaseWithTheRightTableNamesIsLeftAlone)
{
    run_sql(file,
            "CREATE TABLE Session (SessionNo INTEGER PRIMARY KEY, Title, Owner);"
            "CREATE TABLE Test (TestNo INTEGER PRIMARY KEY, SessionNo, Label);"
            "CREATE TABLE Data (TestNo, Value);"
            "INSERT INTO Session VALUES (1, 'their session', 'them');"
            "INSERT INTO Test VALUES (1, 1, 'their test');"
            "INSERT INTO Data VALUES (1, 42);");
    const std::string before = read_bytes(file);
    for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
             {"db", "sessions", file},
             {"db", "tests", file, "1"},
             {"db", "points", file, "1"},
             {"db", "delete-test", file, "1"},
             {"db", "delete-session", file, "1"},
             {"db", "new-session", file, "Mine"},
         }) {
        SCOPED_TRACE(words[1]);
        const s_tool_run run = tool(words);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, file + " is not a Corvexa2 database file\n");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_EQ(read_bytes(file), before);
    EXPECT_EQ(row_count(file, "Session") + row_count(file, "Test") + row_count(file, "Data"), 3);
}

// A database another program holds locked is said to be locked, in SQLite's
// words, and never called foreign; a write under another program's write
// lock says the same; nothing changes.
TEST_F(DatabaseCommands, ALockedDatabaseIsToldAsLockedAndKept)
{
    fill_database();
    const std::string before = read_bytes(file);
    {
        const sqlite_file_lock other(file, "BEGIN EXCLUSIVE");
        ASSERT_TRUE(other.held());
        for (const std::vector<std::string>& words : std::vector<std::vector<std::string>>{
                 {"db", "sessions", file},
                 {"db", "delete-test", file, "1"},
                 {"db", "new-session", file, "Site C"},
             }) {
            SCOPED_TRACE(words[1]);
            const s_tool_run run = tool(words);
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(run.err, "Unable to open the database file <" + file + ">: database is locked\n");
            EXPECT_EQ(run.out, "");
        }
    }
    {
        const sqlite_file_lock writer(file, "BEGIN IMMEDIATE");
        ASSERT_TRUE(writer.held());
        EXPECT_EQ(tool({"db", "sessions", file}).status, 0);  // reading is still allowed
        const s_tool_run run = tool({"db", "delete-test", file, "1"});
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "Database file is locked\nError Code: 5\ndatabase is locked\n");
    }
    EXPECT_EQ(read_bytes(file), before);
}

// Texts holding line breaks, tabs, carriage returns, escapes or backslashes
// (written by another program) are listed in their backslash forms: one row
// is one line of exactly its fields, and the texts read back exactly.
TEST_F(DatabaseCommands, ListingsEscapeEveryByteThatCouldBreakOrForgeALine)
{
    fill_database();
    run_sql(file,
            "UPDATE Session SET Name = 'North' || char(10) || '2' || char(9) || 'forged', "
            "Unit = 'T1' || char(13), Location = 'C:\\bays\\' || char(27) || '[31m' || char(127) "
            "|| CAST(X'81' AS TEXT) WHERE SessionNo = 1;"
            "UPDATE Test SET Name = 'HV' || char(10) || '3' || char(9) || 'x', Winding = char(1) || 'P' "
            "WHERE TestNo = 1;");

    const s_tool_run sessions = tool({"db", "sessions", file});
    EXPECT_EQ(sessions.status, 0) << sessions.err;
    EXPECT_EQ(sessions.out, "1\tNorth\\n2\\tforged\tT1\\r\t3/11/2019\tC:\\\\bays\\\\\\x1B[31m\\x7F\\x81\n");

    const s_tool_run tests = tool({"db", "tests", file, "1"});
    EXPECT_EQ(tests.status, 0) << tests.err;
    EXPECT_EQ(tests.out, "1\t\\x01P\tHV\\n3\\tx\n2\tProject 7\tLV short\n");
}

// A session name must be printable Windows-1252 text: a control character
// or a byte the code page leaves undefined is refused, and nothing is made.
TEST_F(DatabaseCommands, ANewSessionNameThatIsNotPrintableTextIsRefused)
{
    const struct {
        std::string name;
        std::string err;
    } cases[] = {
        {"Site\nB", "NAME holds \\n (character 5)"},
        {"\tSite", "NAME holds \\t (character 1)"},
        {"Site\x1B[2J", "NAME holds \\x1B (character 5)"},
        {"Site \x7F", "NAME holds \\x7F (character 6)"},
        {"Site \x81", "NAME holds \\x81 (character 6)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const s_tool_run run = tool({"db", "new-session", file, c.name});
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.err.substr(0, run.err.find('\n')),
                  "corvexa2-cli: " + c.err + ", which is not printable Windows-1252 text");
        EXPECT_EQ(run.out, "");
    }
    EXPECT_FALSE(fs::exists(file));
}

}  // namespace

#ifndef _WIN32
// On Linux the tool's words and output are UTF-8 and the program's texts
// Windows-1252: a name and a path with accented letters go in and come back
// as typed, the file has its UTF-8 name, and the program holds the name in
// its own code page.
TEST_F(DatabaseCommands, AccentedWordsMeanWhatTheTerminalShows)
{
    const std::string folder = scratch.file("R\xC3\xA9sultats");  // "Résultats" as a terminal types it
    fs::create_directory(fs::path(folder));
    const std::string path = folder + "/caf\xC3\xA9.db";
    const s_tool_run made = tool({"db", "new-session", path, "Caf\xC3\xA9 \xE2\x82\xAC"});
    EXPECT_EQ(made.status, 0) << made.err;
    EXPECT_TRUE(fs::is_regular_file(fs::path(path)));

    const s_tool_run sessions = tool({"db", "sessions", path});
    EXPECT_EQ(sessions.status, 0) << sessions.err;
    EXPECT_EQ(sessions.out.substr(0, 12), "1\tCaf\xC3\xA9 \xE2\x82\xAC\t");

    bool created = false;
    ASSERT_TRUE(db_open(scratch.file("R\xE9sultats/caf\xE9.db"), DB_OPEN_EXISTING, &created));
    s_db_session session;
    session.session_number = 1;
    EXPECT_EQ(db_get_session(session, false), 0);
    EXPECT_STREQ(session.name, "Caf\xE9 \x80");
    db_close();

    // A character the program's code page has no place for is refused.
    const s_tool_run refused = tool({"db", "new-session", scratch.file("x.db"), "\xE6\x97\xA5"});
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("Windows-1252"), std::string::npos) << refused.err;
    EXPECT_FALSE(fs::exists(fs::path(scratch.file("x.db"))));
}
#endif
