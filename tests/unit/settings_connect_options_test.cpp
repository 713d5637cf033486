// The tool's connection values, run as a separate process (this build's
// corvexa2-cli): a port, address or baud rate that the connection record or
// the port cannot take, from the command line or from the settings file, is
// refused before any connection is tried, with a message naming the value as
// the user gave it; and a settings folder that cannot be used leaves no file
// anywhere.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* rates =
    "110, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200, 230400, 460800, 921600";

std::string first_line(const std::string& text)
{
    return text.substr(0, text.find('\n'));
}

#ifdef _WIN32
constexpr const char* port_rule = "a serial port is named COM1 to COM999: ";
#else
constexpr const char* port_rule = "a serial port is named COM1 to COM999, or by its device path: ";
#endif

TEST(ToolConnectionOptions, ValuesThatDoNotFitAreRefusedByTheirGivenName)
{
    tool_runner tool;
    const std::string address(5000, '1');
    const struct {
        std::vector<std::string> words;
        std::string err;  // the first line of standard error
    } cases[] = {
        {{"--usb", "COM999999", "identify"}, std::string(port_rule) + "COM999999"},
        {{"--serial", "COM0", "identify"}, std::string(port_rule) + "COM0"},
        {{"--serial", "COMX", "identify"}, std::string(port_rule) + "COMX"},
        {{"--lan", address, "identify"},
         "--lan \"" + address.substr(0, 40) +
             "...\" (5000 characters) is too long: an IP address has at most 15 characters"},
        {{"--lan", "192.168.100.200:1", "identify"},
         "--lan \"192.168.100.200:1\" is too long: an IP address has at most 15 characters"},
        {{"--serial", "COM1", "--baud", "12345", "identify"},
         std::string("--baud 12345 is not a rate the serial port opens at: ") + rates},
        {{"--lan", "", "identify"}, "--lan needs a value"},
#ifndef _WIN32
        {{"--serial", "ttyUSB0", "identify"}, std::string(port_rule) + "ttyUSB0"},
        {{"--serial", tool.scratch().file("no-such-tty"), "identify"},
         "no such serial device: " + tool.scratch().file("no-such-tty")},
#endif
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        const s_tool_run run = tool.run(c.words);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(first_line(run.err), "corvexa2-cli: " + c.err);
        EXPECT_EQ(run.out, "");
    }
}

#ifndef _WIN32
// The settings folder comes from $LOCALAPPDATA, which the tool inherits.
class ToolConnectSettings : public ::testing::Test {
protected:
    std::string write_settings(const std::string& connect)
    {
        const fs::path folder = fs::path(app_data.path()) / "Zelvorian" / "Corvexa";
        fs::create_directories(folder);
        const std::string file = (folder / "Corvexa.ini").string();
        std::ofstream(file, std::ios::binary) << "[Connect]\r\n" << connect;
        return file;
    }

    temp_folder app_data;
    const scoped_variable local{"LOCALAPPDATA", app_data.path().c_str()};
    tool_runner tool;
};

TEST_F(ToolConnectSettings, StoredValuesThatDoNotFitAreRefusedAndLeftAsTheyAre)
{
    const std::string address(5000, '1');
    const struct {
        std::string connect;
        std::string err;  // with FILE for the settings file
    } cases[] = {
        {"Interface=3\r\nComPort=/dev/ptmx\r\nBaudRate=9600\r\n",
         "ComPort \"/dev/ptmx\" in the settings file FILE is too long: a port name has at most 6 characters"},
        {"Interface=2\r\nIPAddr=" + address + "\r\n",
         "IPAddr \"" + address.substr(0, 40) +
             "...\" (5000 characters) in the settings file FILE is too long: an IP address has at most 15 "
             "characters"},
        {"Interface=7\r\nComPort=COM1\r\n",
         "Interface 7 in the settings file FILE is not 1 (USB), 2 (LAN) or 3 (Serial)"},
        {"Interface=3\r\nComPort=COM1\r\nBaudRate=12345\r\n",
         std::string("BaudRate 12345 in the settings file FILE is not a rate the serial port opens at: ") + rates},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.connect.substr(0, 40));
        const std::string file = write_settings(c.connect);
        const std::string before = read_bytes(file);
        std::string err = c.err;
        err.replace(err.find("FILE"), 4, file);

        const s_tool_run run = tool.run({"identify"});

        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(first_line(run.err), "corvexa2-cli: " + err);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(read_bytes(file), before);
    }
}

// A settings folder the tool cannot use (no folder named, or a relative one)
// means no settings file: none is made in the folder the tool runs in, nor
// below it ("." would make Zelvorian/Corvexa/Corvexa.ini there).
TEST_F(ToolConnectSettings, AnUnusableSettingsFolderLeavesNoFileAnywhere)
{
    temp_folder working;
    const fs::path started_in = fs::current_path();
    fs::current_path(working.path());
    for (const char* folder : {"", "."}) {
        SCOPED_TRACE(folder);
        const scoped_variable unusable("LOCALAPPDATA", folder);
        const scoped_variable no_data_home("XDG_DATA_HOME", nullptr);
        const scoped_variable no_home("HOME", nullptr);

        const s_tool_run run = tool.run({"identify"});

        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(first_line(run.err),
                  "No connection chosen: use --lan, --serial or --usb, or set one in the settings");
        EXPECT_TRUE(fs::is_empty(working.path()));
    }
    fs::current_path(started_in);
}
#endif

}  // namespace
