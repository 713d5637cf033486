// The tool's import command end to end: a sweep file becomes a test with its
// points in a test database, and every refusal leaves the files as they were.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "db/db_connection.h"
#include "db/db_read.h"
#include "db/db_records.h"
#include "db/db_write.h"
#include "fra/sweep_records.h"
#include "support/temp_folder.h"

namespace {

std::string fixture(const std::string& name)
{
    return std::string(CORVEXA2_FIXTURES_DIR) + "/sweeps/" + name;
}

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct cli_result {
    int status;
    std::string out;
    std::string err;
};

cli_result run_cli(const temp_folder& folder, const std::string& arguments)
{
    const std::string err_path = folder.file("stderr.txt");
    const std::string command = std::string("'") + CORVEXA2_CLI_PATH + "' " + arguments + " 2>'" + err_path + "'";
    cli_result result{-1, "", ""};
    std::FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return result;
    }
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        result.out.append(buffer, n);
    }
    const int raw = pclose(pipe);
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.err = file_bytes(err_path);
    return result;
}

// A test database holding one session (number 1).
std::string database_with_a_session(const temp_folder& folder)
{
    const std::string path = folder.file("tests.db");
    bool created = true;
    EXPECT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    s_db_session session;
    std::strcpy(session.name, "Site A");
    session.year = 2024;
    session.month = 5;
    session.day = 17;
    EXPECT_EQ(db_save_session(session, false), 0);
    EXPECT_EQ(session.session_number, 1);
    db_close();
    return path;
}

std::string import_arguments(const std::string& sweep, const std::string& database, const std::string& session,
                             const std::string& name)
{
    return "import '" + sweep + "' --db '" + database + "' --session " + session + " --name '" + name + "'";
}

TEST(SweepImportCommand, StoresFrequencyMagnitudeAndPhaseOfEveryRow)
{
    temp_folder folder;
    const std::string database = database_with_a_session(folder);

    cli_result result = run_cli(folder, import_arguments(fixture("comma_indexed.csv"), database, "1", "Coil 3"));
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "1\n");
    // Options may come before the file.
    result = run_cli(folder, "import --name EIS --session 1 --db '" + database + "' '" + fixture("eis_export.txt") + "'");
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "2\n");

    ASSERT_TRUE(db_open(database, DB_OPEN_EXISTING));
    s_db_test test;
    ASSERT_EQ(db_load_test(test, 1, false, true), 0);
    EXPECT_EQ(test.session_number, 1);
    EXPECT_STREQ(test.name, "Coil 3");
    EXPECT_STREQ(test.winding, "");
    EXPECT_STREQ(test.description, "Imported");
    const s_db_point expected[] = {{100, 1000, -45}, {1000, 100.5, -60}, {10000, 10, -80}};
    ASSERT_EQ(test.count, 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(test.points[i].frequency, expected[i].frequency);
        EXPECT_DOUBLE_EQ(test.points[i].amplitude, expected[i].amplitude);
        EXPECT_DOUBLE_EQ(test.points[i].phase, expected[i].phase);
    }
    ASSERT_EQ(db_load_test(test, 2, false, true), 0);
    ASSERT_EQ(test.count, 3);
    EXPECT_DOUBLE_EQ(test.points[2].amplitude, 105.019);
    db_close();
}

TEST(SweepImportCommand, RefusalsSayWhyAndChangeNothing)
{
    temp_folder folder;
    const std::string database = database_with_a_session(folder);
    const std::string not_a_database = folder.file("notes.db");
    std::ofstream(not_a_database, std::ios::binary) << "not a database\r\n";
    const std::string over = folder.file("over.csv");
    {
        std::ofstream out(over, std::ios::binary);
        for (int i = 1; i <= SWEEP_MAX_POINTS + 1; ++i) {
            out << i << ",1,2,3,4,5\r\n";
        }
    }
    const std::string missing_database = folder.file("missing.db");
    const std::string good = fixture("comma_indexed.csv");

    struct refusal {
        std::string arguments;
        int status;
        const char* message;
    };
    const refusal cases[] = {
        {import_arguments(good, database, "7", "T"), 1, "No session 7 in "},
        {import_arguments(good, database, "0", "T"), 1, "No session 0 in "},
        {import_arguments(fixture("bad_missing_columns.csv"), database, "1", "T"), 1, "fits no sweep layout"},
        {import_arguments(over, database, "1", "T"), 1, "more than 2000 rows"},
        {import_arguments(fixture("header_only.csv"), database, "1", "T"), 1, "holds no sweep rows"},
        {import_arguments(folder.file("absent.csv"), database, "1", "T"), 1, "cannot be opened"},
        {import_arguments(good, missing_database, "1", "T"), 1, "Database file not found"},
        {import_arguments(good, not_a_database, "1", "T"), 1, "is not a Corvexa2 database file"},
        {import_arguments(good, database, "one", "T"), 2, "SESSION_ID"},
        {import_arguments(good, database, "1", std::string(51, 'n')), 2, "TEST_NAME"},
        {"import '" + good + "' --db '" + database + "' --session 1", 2, "--name is missing"},
    };
    const std::string database_before = file_bytes(database);
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.arguments);
        const cli_result result = run_cli(folder, c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(c.message), std::string::npos) << result.err;
    }
    EXPECT_EQ(file_bytes(database), database_before);
    EXPECT_EQ(file_bytes(not_a_database), "not a database\r\n");
    EXPECT_FALSE(std::ifstream(missing_database).good());
}

// The test database's points of test `number`: count and first frequency.
void expect_stored_test(const std::string& database, std::int64_t number, int count, double first_frequency)
{
    ASSERT_TRUE(db_open(database, DB_OPEN_EXISTING));
    s_db_test test;
    EXPECT_EQ(db_load_test(test, number, false, true), 0);
    EXPECT_EQ(test.count, count);
    if (test.count > 0) {
        EXPECT_DOUBLE_EQ(test.points[0].frequency, first_frequency);
    }
    db_close();
}

TEST(SweepImportCommand, PipesByteOrderMarksAndLoneCarriageReturnsImportEveryRow)
{
    temp_folder folder;
    const std::string database = database_with_a_session(folder);
    const std::string bom_tab = folder.file("bom.txt");
    std::ofstream(bom_tab, std::ios::binary) << "\xEF\xBB\xBF" << "1\t50\t1\t2\t3\t4\r\n2\t500\t1\t2\t3\t4\r\n";
    const std::string cr_only = folder.file("cr_only.csv");
    std::ofstream(cr_only, std::ios::binary) << "F,Zr,Zq,Zm,Zp\r60,1,2,3,4\r600,1,2,3,4\r6000,1,2,3,4\r";

    struct good_import {
        std::string arguments;
        int points;
        double first_frequency;
    };
    // Read from a pipe, a file must not lose its first row to a rewind.
    const good_import cases[] = {
        {import_arguments("/dev/stdin", database, "1", "Pipe tab") + " < '" + fixture("eis_export.txt") + "'", 3, 10},
        {import_arguments("/dev/stdin", database, "1", "Pipe comma") + " < '" + fixture("comma_indexed.csv") + "'", 3,
         100},
        {import_arguments(bom_tab, database, "1", "BOM"), 2, 50},
        {import_arguments(cr_only, database, "1", "CR"), 3, 60},
    };
    std::int64_t number = 0;
    for (const good_import& c : cases) {
        SCOPED_TRACE(c.arguments);
        const cli_result result = run_cli(folder, c.arguments);
        ++number;
        EXPECT_EQ(result.status, 0) << result.err;
        EXPECT_EQ(result.out, std::to_string(number) + "\n");
        expect_stored_test(database, number, c.points, c.first_frequency);
    }
}

TEST(SweepImportCommand, HostileSweepFilesAreRefusedWithTheReasonAndStoreNothing)
{
    temp_folder folder;
    const std::string database = database_with_a_session(folder);
    const std::string header = "Steps\tF\tZr\tZq\tZm\tZp\r\n";
    const std::string long_rows = folder.file("long_rows.txt");
    {
        std::ofstream out(long_rows, std::ios::binary);
        out << header;
        for (int i = 1; i <= 10; ++i) {
            out << i << "\t100\t1\t2\t3\t" << std::string(2100, '0') << "4\r\n";
        }
    }
    const std::string no_line_end = folder.file("no_line_end.csv");
    std::ofstream(no_line_end, std::ios::binary) << std::string(100000, '5');
    const std::string nan_row = folder.file("nan.txt");
    std::ofstream(nan_row, std::ios::binary) << header << "1\t100\t1\t2\t3\t4\r\n2\t200\tNaN\t2\t3\t4\r\n";
    const std::string overflow = folder.file("overflow.csv");
    std::ofstream(overflow, std::ios::binary) << "1,100,1,2,3,4\r\n2,1e999,1,2,3,4\r\n";
    const std::string sub_folder = folder.file("sweeps");
    ASSERT_TRUE(std::filesystem::create_directory(sub_folder));

    struct refusal {
        std::string sweep;
        std::string reason;
    };
    const refusal cases[] = {
        {"/dev/zero", "the file is larger than 4 MiB, too large for a sweep file"},
        {long_rows, "line 2 is longer than 2047 characters"},
        {no_line_end, "line 1 is longer than 2047 characters"},
        {nan_row, "line 3, column 3 holds a value that is not a finite number (NaN or infinity)"},
        {overflow, "line 2, column 2 holds a value that is not a finite number (NaN or infinity)"},
        {sub_folder, "it is a folder, not a file"},
    };
    const std::string database_before = file_bytes(database);
    for (const refusal& c : cases) {
        SCOPED_TRACE(c.sweep);
        const cli_result result = run_cli(folder, import_arguments(c.sweep, database, "1", "T"));
        EXPECT_EQ(result.status, 1);
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "Unable to import sweep file " + c.sweep + ": " + c.reason + "\n");
    }
    EXPECT_EQ(file_bytes(database), database_before);
}

}  // namespace
#endif
