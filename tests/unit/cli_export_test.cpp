// The tool's text exports run as a separate process: stored tests into a
// folder and a sweep of the simulator with its preamble, in the number
// formats given, and the messages of what cannot be exported.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_records.h"
#include "db/db_write.h"
#include "support/file_bytes.h"
#include "support/sim_process.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

namespace fs = std::filesystem;

class ToolExport : public ::testing::Test {
protected:
    void SetUp() override
    {
        bool created = false;
        ASSERT_TRUE(db_open(database, DB_OPEN_CREATE, &created));
        s_db_session session;
        ASSERT_EQ(db_save_session(session, false), 0);
        for (const char* name : {"HV/LV: open", "Empty"}) {
            s_db_test test;
            test.session_number = session.session_number;
            std::snprintf(test.name, sizeof test.name, "%s", name);
            if (name[0] == 'H') {
                ASSERT_EQ(db_add_point(test, {1000, -3.5, 45.25}), 0);
                ASSERT_EQ(db_add_point(test, {1234567, 0.5, -90}), 0);
            }
            ASSERT_EQ(db_save_new_test(test), 0);
        }
        db_close();
        fs::create_directories(folder);
    }

    temp_folder scratch;
    std::string database = scratch.file("tests.db");
    std::string folder = scratch.file("out");
    tool_runner tool;
};

TEST_F(ToolExport, StoredTestsGoOneFileEachInTheChosenNumberFormat)
{
    const s_tool_run run = tool.run({"export", "tests", "--db", database, "--test", "1", "--test", "2", "--folder",
                                     folder, "--number-format", "germany"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string file = (fs::path(folder) / "HV LV  open.txt").string();
    EXPECT_EQ(run.out, file + "\n");  // the empty test writes no file
    EXPECT_EQ(read_bytes(file), "Steps\tFrequency (Hz)\tGain (dB)     \tPhase (\xB0)\r\n"
                                "1\t1,00000e+003\t-3,50000e+000\t4,52500e+001\r\n"
                                "2\t1,23457e+006\t5,00000e-001\t-9,00000e+001");

    // Custom separators; a second export of the same test is numbered.
    const s_tool_run custom = tool.run({"export", "tests", "--db", database, "--test", "1", "--folder", folder,
                                        "--number-format", "custom", "--decimal", ";"});
    ASSERT_EQ(custom.status, 0) << custom.err;
    const std::string second = (fs::path(folder) / "HV LV  open (1).txt").string();
    EXPECT_EQ(custom.out, second + "\n");
    EXPECT_NE(read_bytes(second).find("1\t1;00000e+003\t"), std::string::npos);
}

TEST_F(ToolExport, WhatCannotBeExportedIsSaidAndNothingIsWritten)
{
    struct bad_case {
        std::vector<std::string> words;
        int status;
        std::string err_start;
    };
    const bad_case cases[] = {
        {{"--test", "7", "--folder", folder}, 1, "No test 7 in " + database},
        {{"--test", "1", "--folder", scratch.file("missing")}, 1, "Invalid Directory Selected"},
        {{"--test", "1", "--folder", folder, "--number-format", "mars"}, 2, "corvexa2-cli: "},
        {{"--test", "1"}, 2, "corvexa2-cli: --db DB, --folder DIR"},
    };
    for (const bad_case& c : cases) {
        std::vector<std::string> words = {"export", "tests", "--db", database};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const s_tool_run run = tool.run(words);
        SCOPED_TRACE(c.err_start);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
    }
    EXPECT_TRUE(fs::is_empty(folder));
}

TEST(ToolSweepExport, TheSweepIsExportedWithTheInstrumentsPreamble)
{
    sim_process sim({"--instrument", "hvxa", "--dut", "rc-lowpass:fc=100"}, "127.0.0.189");
    temp_folder scratch;
    tool_runner tool;
    const std::string file = scratch.file("sweep.txt");
    const s_tool_run run = tool.run({"--lan", sim.address(), "sweep", "fra", "--steps", "3", "--start", "10",
                                     "--end", "1000", "--export", file, "--number-format", "custom"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string text = read_bytes(file);
    EXPECT_EQ(text.rfind("Instrument Configuration\r\n------------------------\r\nFile Format,ZelvV2\r\n"
                         "Instrument,type,HVXA1735\r\n,serial number,10234\r\n,firmware version,2.17\r\n"
                         ",calibration,\r\n",
                         0),
              0u);
    const std::size_t data = text.find("data start sweep 1\r\nSteps\tFrequency (Hz)\t");
    ASSERT_NE(data, std::string::npos);
    // The settings report stands between the identity and the data.
    EXPECT_NE(text.substr(0, data).find("Measurement settings"), std::string::npos);
    // Three rows, apostrophes before the cells (Custom), no line end at the end.
    const std::string rows = text.substr(text.find("\r\n", data + 20) + 2);
    const std::string rows_tail = rows.substr(rows.find("\r\n") + 2);
    EXPECT_EQ(rows.rfind("1\t'1.00000e+001\t'", 0), 0u) << rows;
    EXPECT_EQ(rows_tail.substr(rows_tail.find("\r\n") + 2).rfind("3\t'1.00000e+003\t'", 0), 0u);
    EXPECT_NE(text.back(), '\n');

    const s_tool_run refused = tool.run({"--lan", sim.address(), "sweep", "lcr", "--eis"});
    EXPECT_EQ(refused.status, 2);
}

}  // namespace
