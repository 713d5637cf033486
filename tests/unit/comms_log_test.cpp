// The comms log: header, entry forms of link traffic, markers, the debug
// output while logging is off, and an unwritable log folder.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/debug_output.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "support/fake_link.h"
#include "support/memory_log_environment.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace {

std::vector<std::string> debug_lines;
void record_debug(const char* text)
{
    debug_lines.emplace_back(text);
}

#ifdef _WIN32
const std::string log_file = "/logs\\CORVEXA2_COMMS.log";
#else
const std::string log_file = "/logs/CORVEXA2_COMMS.log";
#endif

class CommsLog : public ::testing::Test {
protected:
    CommsLog() : scope(env, &prompt)
    {
        debug_lines.clear();
        debug_output_redirect(record_debug);
    }
    ~CommsLog() override { debug_output_redirect(nullptr); }

    // The entries written to the log file, split at "\n".
    std::vector<std::string> lines() const
    {
        std::vector<std::string> out;
        std::istringstream in(env.files.count(log_file) ? env.files.at(log_file) : "");
        for (std::string line; std::getline(in, line);) {
            out.push_back(line);
        }
        return out;
    }
    // The counter the next link entry will print.
    std::string next_number(int ahead = 1) const
    {
        char text[32];
        std::snprintf(text, sizeof text, "(%05llu)", static_cast<unsigned long long>(comms_log_counter() + ahead));
        return text;
    }

    memory_log_environment env;
    recording_prompt prompt;
    comms_log_scope scope;
    fake_link_backend fake;
};

TEST_F(CommsLog, OffSendsMarkersToTheDebugOutputAndLinkTrafficNowhere)
{
    s_connection conn;
    conn.interface = LINK_LAN;
    ASSERT_EQ(link_open(&conn), 0);
    const std::uint64_t before = comms_log_counter();
    link_send(&conn, "*IDN?\n");
    EXPECT_EQ(comms_log_counter(), before + 1);
    EXPECT_TRUE(debug_lines.empty());
    EXPECT_EQ(comms_log_write("***\tCONNECTING\t***\n"), "[14:03:07.045] ***\tCONNECTING\t***\n");
    ASSERT_EQ(debug_lines.size(), 1u);
    EXPECT_EQ(debug_lines[0], "[14:03:07.045] ***\tCONNECTING\t***\n");
    EXPECT_TRUE(env.files.empty());
}

TEST_F(CommsLog, FirstEntryBringsTheHeaderAndTheFoldersLevelByLevel)
{
    comms_log_start_in_folder("/logs/deeper", true);
    const std::string path = comms_log_path();
    EXPECT_EQ(path.substr(0, 12), "/logs/deeper");
    EXPECT_EQ(path.substr(13), "CORVEXA2_COMMS.log");
    comms_log_write("first\n");
    comms_log_write("second\n");
    EXPECT_EQ(env.made_folders, (std::vector<std::string>{"/logs", "/logs/deeper"}));
    EXPECT_EQ(env.files.at(path),
              "VEDEVERUROROZO Corvexa2 CommsLog\n"
              "Software Version 1_2 (build 5)\n"
              "[14:03:07.045] ***\tLOG FILE OPENED\t***\n"
              "[14:03:07.045] first\n"
              "[14:03:07.045] second\n");
}

TEST_F(CommsLog, StartingAgainBeginsAFreshFile)
{
    env.files[log_file] = "old session\n";
    comms_log_start_in_folder("/logs", true);
    comms_log_write("new\n");
    EXPECT_EQ(lines().front(), "VEDEVERUROROZO Corvexa2 CommsLog");
}

TEST_F(CommsLog, LinkEntryFormsFollowTheIdentity)
{
    struct form_case {
        const char* identity;
        const char* sent;
        const char* reset;
        const char* read;
        const char* values;
    };
    const form_case cases[] = {
        {"ZELVORIAN,HVXA1735,10234,2.17", " [serial:10234]>>\t*IDN?", " [serial:10234]>>\t\\024",
         " [serial:10234]<<\t1.0E0,50%", " [serial:10234]<<\t1.0E0,50%"},
        {"", " [serial:unknown] >>\t*IDN?", " [serial:unknown] >>\t\\024", " [serial:unknown] <<\t1.0E0,50%",
         " [serial:unknown]<<\t1.0E0,50%"},
        {"ZELVORIAN,HVXA1735", " [serial:unknown] >>\t*IDN?", " [serial:unknown] >>\t\\024",
         " [serial:unknown] <<\t1.0E0,50%", " [serial:unknown]<<\t1.0E0,50%"},
    };
    comms_log_start_in_folder("/logs", true);
    for (const form_case& c : cases) {
        SCOPED_TRACE(c.identity);
        env.files.clear();
        s_connection conn;
        conn.interface = LINK_LAN;
        connection_set_identity(&conn, c.identity);
        const std::string first = next_number(1);
        ASSERT_EQ(link_open(&conn), 0);  // logs the reset byte
        link_send(&conn, "*IDN?\n");
        fake.tcp.wire.arrive("1.0E0,50%\r\n1.0E0,50%\r\n");
        char buffer[64];
        link_read_line(&conn, buffer, sizeof buffer);
        double values[4];
        link_read_values(&conn, values, 4, false);
        link_close(&conn);

        const std::vector<std::string> got = lines();
        ASSERT_EQ(got.size(), 3u + 4u);
        EXPECT_EQ(got[3], "[14:03:07.045] " + first + c.reset);
        EXPECT_EQ(got[4].substr(15 + 7), c.sent);
        EXPECT_EQ(got[5].substr(15 + 7), c.read);
        EXPECT_EQ(got[6].substr(15 + 7), c.values);
    }
}

TEST_F(CommsLog, ReadsAreLoggedRawAndEvenWhenNothingCame)
{
    comms_log_start_in_folder("/logs", true);
    s_connection conn;
    conn.interface = LINK_LAN;
    connection_set_identity(&conn, "ZELVORIAN,HVXA1735,10234,2.17");
    ASSERT_EQ(link_open(&conn), 0);
    link_set_timeout(&conn, 50);
    char buffer[64];
    link_read_line(&conn, buffer, sizeof buffer);
    fake.tcp.wire.arrive(std::string("\xC1\xA0\x80\x80,\r\n"));
    link_read_line(&conn, buffer, sizeof buffer);
    link_set_timeout(&conn, LINK_DEFAULT_TIMEOUT_MS);
    const std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 6u);
    EXPECT_EQ(got[4].substr(got[4].size() - 17), "[serial:10234]<<\t");
    EXPECT_EQ(got[5].substr(got[5].size() - 5), "\xC1\xA0\x80\x80,");
}

// The values buffer is cleared only as far as the last read wrote: a line
// after a longer one (even one that filled the whole buffer) is logged and
// parsed alone, with nothing of the one before behind it.
TEST_F(CommsLog, EachValuesReadLogsOnlyItsOwnLine)
{
    comms_log_start_in_folder("/logs", true);
    s_connection conn;
    conn.interface = LINK_LAN;
    connection_set_identity(&conn, "ZELVORIAN,HVXA1735,10234,2.17");
    ASSERT_EQ(link_open(&conn), 0);
    fake.tcp.wire.arrive(std::string(LINK_VALUES_BUFFER_SIZE + 100, '7') + "\r\n1.0E0,2.0E0,3.0E0\r\n5.0E0\r\n");
    double values[4] = {};
    EXPECT_EQ(link_read_values(&conn, values, 4, false), -1);
    EXPECT_EQ(link_last_read(&conn), LINK_READ_TOO_LONG);
    EXPECT_EQ(link_read_values(&conn, values, 4, false), 3);
    EXPECT_EQ(link_read_values(&conn, values, 4, false), 1);
    EXPECT_DOUBLE_EQ(values[0], 5.0);
    link_close(&conn);
    const std::vector<std::string> got = lines();
    ASSERT_EQ(got.size(), 7u);
    EXPECT_EQ(got[4].substr(got[4].find('\t') + 1), std::string(LINK_VALUES_BUFFER_SIZE - 1, '7'));
    EXPECT_EQ(got[5].substr(15 + 7), " [serial:10234]<<\t1.0E0,2.0E0,3.0E0");
    EXPECT_EQ(got[6].substr(15 + 7), " [serial:10234]<<\t5.0E0");
}

TEST_F(CommsLog, UnwritableFolderWarnsOnceAndSwitchesLoggingOff)
{
    env.read_only = true;
    comms_log_start_in_folder("/readonly", true);
    comms_log_write("***\tCONNECTING\t***\n");
    comms_log_write("***\tCONNECTED\t***\n");
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Error opening comms log for writing\nComms Logging disabled");
    EXPECT_EQ(prompt.messages[0].caption, "Error");
    EXPECT_FALSE(comms_log_enabled());
}

TEST(CommsLogFile, WrittenWithCrLfLineEndsOnDisk)
{
    temp_folder folder;
    comms_log_scope scope(platform_comms_log_environment());
    comms_log_start_in_folder(folder.file("sub"), true);
    comms_log_write("***\tCONNECTING\t***\n");
    std::ifstream in(folder.file("sub") + (folder.path().find('\\') != std::string::npos ? "\\" : "/") +
                         "CORVEXA2_COMMS.log",
                     std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    const std::string text = bytes.str();
    EXPECT_EQ(text.rfind("VEDEVERUROROZO Corvexa2 CommsLog\r\nSoftware Version 1_2 (build 5)\r\n[", 0), 0u);
    EXPECT_NE(text.find("] ***\tLOG FILE OPENED\t***\r\n["), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 22), "] ***\tCONNECTING\t***\r\n");
    EXPECT_EQ(text.find("\n\n"), std::string::npos);
}

}  // namespace
