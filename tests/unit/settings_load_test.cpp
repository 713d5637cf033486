// settings_load against an injected environment and the portable profile
// store: where the settings folder is, what a first run creates, and how each
// stored value is read (or refused) into memory and the connection record.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/path_text.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/settings_environment.h"
#include "link/connection.h"
#include "support/file_bytes.h"
#include "support/folder_settings_environment.h"
#include "support/recording_prompt.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;


std::string settings_folder_under(const std::string& app_data)
{
    return path_join(path_join(app_data, "Zelvorian"), "Corvexa");
}

// Values unlike every default, so a load that keeps stale state shows.
void dirty_everything()
{
    s_connection& connection = the_connection();
    connection.interface = LINK_SERIAL;
    connection.baud_rate = 9600;
    connection_set_com_port(&connection, "COM9");
    connection_set_ip_address(&connection, "10.1.2.3");
    set_database_file_path("stale.db");
    set_number_format_type(3);
    set_decimal_separator(';');
    set_thousands_separator('_');
}

class SettingsLoad : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment.app_data = path_join(app_data.path(), "Local");
        fs::create_directory(environment.app_data);
        environment.working = working.path();
        dirty_everything();
    }

    // Writes the main settings file where settings_load will look for it.
    std::string prepare_file(const std::string& bytes)
    {
        const std::string folder = settings_folder_under(environment.app_data);
        fs::create_directories(folder);
        const std::string file = path_join(folder, "Corvexa.ini");
        write_bytes(file, bytes);
        return file;
    }

    temp_folder app_data;
    temp_folder working;
    folder_settings_environment environment;
    profile_store& store = portable_profile_store();
};

TEST_F(SettingsLoad, FirstRunCreatesTheFoldersAndAFileHoldingOnlyItsCreationTime)
{
    settings_load(environment, store);

    const std::string vendor = path_join(environment.app_data, "Zelvorian");
    const std::string folder = path_join(vendor, "Corvexa");
    EXPECT_EQ(environment.made, (std::vector<std::string>{vendor, folder}));
    EXPECT_EQ(settings_folder(), folder);
    EXPECT_EQ(settings_file(), path_join(folder, "Corvexa.ini"));
    EXPECT_EQ(read_bytes(settings_file()), "[Init]\r\nCreated=09:05:07 3/11/2019\r\n");

    EXPECT_EQ(graph_settings_file(0), path_join(folder, "lcr_bode_settings.ini"));
    EXPECT_EQ(graph_settings_file(1), path_join(folder, "lcr_nyquist_settings.ini"));
    EXPECT_EQ(graph_settings_file(2), path_join(folder, "lcr_eis_settings.ini"));
    EXPECT_EQ(graph_settings_file(3), "");
    EXPECT_EQ(graph_settings_file(-1), "");

    // Every value takes its default, whatever was held before.
    const s_connection& connection = the_connection();
    EXPECT_EQ(connection.interface, LINK_NONE);
    EXPECT_EQ(connection.baud_rate, 0);
    EXPECT_STREQ(connection.com_port, "");
    EXPECT_STREQ(connection.ip_address, "");
    EXPECT_EQ(database_file_path(), "");
    EXPECT_EQ(number_format_type(), 0);
    EXPECT_EQ(decimal_separator(), '.');
    EXPECT_EQ(thousands_separator(), ',');
}

TEST_F(SettingsLoad, LaterRunReadsEveryValueAndLeavesTheFileAlone)
{
    const std::string database(300, 'x');  // longer than a path may be: held whole, never cut
    const std::string contents =
        "[Init]\r\n"
        "Created=01:02:03 4/5/2006\r\n"
        "DatabaseFile=" + database + "\r\n"
        "[Settings]\r\n"
        "NumFormatType=999\r\n"
        "NumFormatDecimal=,;\r\n"
        "NumFormatThousand=.\r\n"
        "[Connect]\r\n"
        "Interface=2\r\n"
        "ComPort=COM123\r\n"
        "BaudRate=19200\r\n"
        "IPAddr=192.168.100.200\r\n";
    const std::string file = prepare_file(contents);

    settings_load(environment, store);

    EXPECT_TRUE(environment.made.empty());
    EXPECT_EQ(settings_file(), file);
    EXPECT_EQ(read_bytes(file), contents);
    const s_connection& connection = the_connection();
    EXPECT_EQ(connection.interface, LINK_LAN);
    EXPECT_EQ(connection.baud_rate, 19200);
    EXPECT_STREQ(connection.com_port, "COM123");
    EXPECT_STREQ(connection.ip_address, "192.168.100.200");
    EXPECT_TRUE(settings_problems().empty());
    EXPECT_EQ(database_file_path(), database);
    EXPECT_EQ(number_format_type(), 999);
    EXPECT_EQ(decimal_separator(), ',');
    EXPECT_EQ(thousands_separator(), '.');
}

TEST_F(SettingsLoad, SeparatorsKeepTheirDefaultUnlessTheStoredOneIsUsable)
{
    const struct {
        const char* stored;  // nullptr: no such key
        char decimal;
        char thousands;
    } cases[] = {
        {nullptr, '.', ','}, {"", '.', ','},       {"   ", '.', ','},   {"\"\"", '.', ','},
        {",;", ',', ','},    {" ; ", ';', ';'},    {"'.'", '.', '.'},   {"\xA0", '\xA0', '\xA0'},
        {"5", '.', ','},     {"-", '.', ','},      {"+", '.', ','},     {"E", '.', ','},
        {"e", '.', ','},     {"$", '.', ','},      {"\x01", '.', ','}, {"\x7F", '.', ','},
        {"\" \"", ' ', ' '},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored != nullptr ? c.stored : "(absent)");
        std::string settings = "[Settings]\r\n";
        if (c.stored != nullptr) {
            settings += std::string("NumFormatDecimal=") + c.stored + "\r\n" +
                        "NumFormatThousand=" + c.stored + "\r\n";
        }
        prepare_file(settings);
        settings_load(environment, store);
        EXPECT_EQ(decimal_separator(), c.decimal);
        EXPECT_EQ(thousands_separator(), c.thousands);
    }
}

TEST_F(SettingsLoad, ANumberFormatTypeTheProgramDoesNotKnowLoadsAsTheDefault)
{
    for (const char* stored : {"4", "-1", "1000"}) {
        SCOPED_TRACE(stored);
        prepare_file(std::string("[Settings]\r\nNumFormatType=") + stored + "\r\n");
        settings_load(environment, store);
        EXPECT_EQ(number_format_type(), 0);
    }
}

// A "Connect" value the record cannot hold whole (port name 6 characters,
// address 15) or an interface the program does not know is never cut to fit
// or used: the field keeps its default and the refusal names the value and
// the file. The neighbouring values still load, and the file is left as it is.
TEST_F(SettingsLoad, ConnectValuesTheRecordCannotTakeAreRefusedByName)
{
    const std::string address(5000, '1');
    const struct {
        const char* what;
        std::string connect;  // the lines of [Connect]
        int interface;
        const char* com_port;
        const char* ip_address;
        std::vector<std::string> problems;  // each followed by " in the settings file FILE ..." below
    } cases[] = {
        {"fits exactly", "Interface=3\r\nComPort=COM254\r\nIPAddr=192.168.100.200\r\n", LINK_SERIAL, "COM254",
         "192.168.100.200", {}},
        {"device path", "Interface=3\r\nComPort=/dev/ptmx\r\nIPAddr=10.0.0.1\r\n", LINK_SERIAL, "", "10.0.0.1",
         {"ComPort \"/dev/ptmx\"|is too long: a port name has at most 6 characters"}},
        {"long address", "Interface=2\r\nComPort=COM1\r\nIPAddr=" + address + "\r\n", LINK_LAN, "COM1", "",
         {"IPAddr \"" + address.substr(0, 40) +
          "...\" (5000 characters)|is too long: an IP address has at most 15 characters"}},
        {"address with port", "Interface=2\r\nIPAddr=192.168.100.200:10001\r\n", LINK_LAN, "", "",
         {"IPAddr \"192.168.100.200:10001\"|is too long: an IP address has at most 15 characters"}},
        {"unknown interface", "Interface=7\r\nComPort=COM1\r\n", LINK_NONE, "COM1", "",
         {"Interface 7|is not 1 (USB), 2 (LAN) or 3 (Serial)"}},
        {"everything", "Interface=-1\r\nComPort=COM1234567\r\nIPAddr=1.2.3.4.5.6.7.8.9\r\n", LINK_NONE, "", "",
         {"Interface -1|is not 1 (USB), 2 (LAN) or 3 (Serial)",
          "ComPort \"COM1234567\"|is too long: a port name has at most 6 characters",
          "IPAddr \"1.2.3.4.5.6.7.8.9\"|is too long: an IP address has at most 15 characters"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        dirty_everything();
        const std::string contents = "[Connect]\r\n" + c.connect + "BaudRate=9600\r\n";
        const std::string file = prepare_file(contents);

        settings_load(environment, store);

        const s_connection& connection = the_connection();
        EXPECT_EQ(connection.interface, c.interface);
        EXPECT_STREQ(connection.com_port, c.com_port);
        EXPECT_STREQ(connection.ip_address, c.ip_address);
        EXPECT_EQ(connection.baud_rate, 9600);
        std::vector<std::string> expected;
        for (const std::string& problem : c.problems) {
            const std::size_t bar = problem.find('|');
            expected.push_back(problem.substr(0, bar) + " in the settings file " + file + " " +
                               problem.substr(bar + 1));
        }
        EXPECT_EQ(settings_problems(), expected);
        EXPECT_EQ(read_bytes(file), contents);
        // The program tells them all in one message, one line each.
        recording_prompt shown;
        settings_tell_problems(shown);
        std::string lines;
        for (const std::string& problem : expected) {
            lines += (lines.empty() ? "" : "\n") + problem;
        }
        ASSERT_EQ(shown.messages.size(), expected.empty() ? 0u : 1u);
        if (!expected.empty()) {
            EXPECT_EQ(shown.messages[0].text, lines);
            EXPECT_EQ(shown.messages[0].caption, "Corvexa2");
            EXPECT_EQ(shown.messages[0].icon, prompt_icon::warning);
        }
    }
}

// Without a usable settings folder there is no settings file at all: no other
// folder (the working directory least of all) gets one, every value keeps its
// default, and nothing later written to the settings lands anywhere.
TEST_F(SettingsLoad, WithoutAUsableSettingsFolderNoFileIsMadeAnywhere)
{
    // The longest file the folder holds is "lcr_nyquist_settings.ini": the
    // folder is usable while that path fits the system's limit.
    const std::size_t longest_name = std::string("lcr_nyquist_settings.ini").size();
    const std::size_t room = max_system_path_length - longest_name - 1;  // less its separator
    const std::size_t suffix = settings_folder_under("x").size() - 1;   // "/Zelvorian/Corvexa"
    const std::string base = path_join(app_data.path(), "");
    const std::string longest_usable = base + std::string(room - suffix - base.size(), 'a');
    const std::string too_long = longest_usable + "a";
    fs::create_directory(longest_usable);
    fs::create_directory(too_long);
    // A Corvexa.ini already in the working directory is neither read nor changed.
    const std::string stray = path_join(working.path(), "Corvexa.ini");
    write_bytes(stray, "[Connect]\r\nInterface=2\r\nIPAddr=10.9.9.9\r\n");

    const struct {
        const char* what;
        std::string app_data;
    } cases[] = {
        {"no shell folder", ""},
        {"relative shell folder", "Local"},
        {"dot folder", "."},
        {"too long for its files", too_long},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        environment.app_data = c.app_data;
        environment.made.clear();
        dirty_everything();

        settings_load(environment, store);

        EXPECT_EQ(settings_folder(), "");
        EXPECT_EQ(settings_file(), "");
        EXPECT_EQ(graph_settings_file(0), "");
        EXPECT_TRUE(environment.made.empty());
        EXPECT_EQ(the_connection().interface, LINK_NONE);
        EXPECT_STREQ(the_connection().ip_address, "");
        EXPECT_FALSE(store.write_string(settings_file(), "Init", "DatabaseFile", "x.db"));
        EXPECT_EQ(std::distance(fs::directory_iterator(working.path()), fs::directory_iterator()), 1);
        EXPECT_EQ(read_bytes(stray), "[Connect]\r\nInterface=2\r\nIPAddr=10.9.9.9\r\n");
    }

    // One character less and the folder is the settings folder, made there.
    environment.app_data = longest_usable;
    environment.made.clear();
    settings_load(environment, store);
    EXPECT_EQ(settings_folder(), settings_folder_under(longest_usable));
    EXPECT_EQ(environment.made.size(), 2u);
    EXPECT_TRUE(fs::is_regular_file(settings_file()));
    EXPECT_EQ(graph_settings_file(1).size(), max_system_path_length);
}

TEST_F(SettingsLoad, WithNoUsableFolderEveryValueKeepsItsDefault)
{
    environment.app_data.clear();
    environment.working = "/" + std::string(max_system_path_length, 'w');
    settings_load(environment, store);
    EXPECT_EQ(settings_folder(), "");
    EXPECT_EQ(settings_file(), "");
    EXPECT_EQ(graph_settings_file(0), "");
    EXPECT_EQ(the_connection().interface, LINK_NONE);
    EXPECT_STREQ(the_connection().com_port, "");
    EXPECT_EQ(decimal_separator(), '.');
}

}  // namespace
