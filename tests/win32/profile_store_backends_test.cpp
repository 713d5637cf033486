// The portable profile store against the system's private-profile functions:
// the same files, the same calls, and the results must agree. This pins the
// portable back end (used natively) to the real API.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/profile_store.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

const char* const untidy_file =
    "; written by hand\r\n"
    "orphan=before any section\r\n"
    "[Init]\r\n"
    "   Created  =   09:05:07 3/11/2019   \r\n"
    "Empty=\r\n"
    "Blank=   \r\n"
    "NoEquals\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"abc'\r\n"
    "Lone=\"\r\n"
    "TwoQuotes=\"\"\r\n"
    "Equals=a=b\r\n"
    "Tabbed=\tvalue\t\r\n"
    "High=\xB0" "C \xB5V\r\n"
    "\r\n"
    "[Connect]\n"
    "ComPort=COM1234567\r"
    "Interface=2\n\n"
    "[ Spaced ] trailing text\r\n"
    "inner=1\r\n"
    "[Unclosed\r\n"
    "after=unclosed\r\n"
    "[init]\r\n"
    "Created=from the repeated section\r\n"
    "Extra=only in the repeated section\r\n";

TEST(ProfileStoreBackends, StringReadsAgree)
{
    temp_folder folder;
    const std::string file = folder.file("reads.ini");
    write_bytes(file, untidy_file);
    const struct {
        const char* section;
        const char* key;
        const char* fallback;
        std::size_t max_length;
    } cases[] = {
        {"Init", "Created", "-", 127},      {"INIT", "CREATED", "-", 127},
        {" Init ", " Created ", "-", 127},  {"Init", "Created", "-", 8},
        {"Init", "Created", "-", 0},        {"Init", "Missing", "fallback", 127},
        {"Init", "Missing", "fallback", 4}, {"Missing", "Created", "fallback", 127},
        {"Init", "Empty", "fallback", 127}, {"Init", "Blank", "fallback", 127},
        {"Init", "NoEquals", "fallback", 127}, {"Init", "Quoted", "-", 127},
        {"Init", "Quoted", "-", 4},         {"Init", "Single", "-", 127},
        {"Init", "Mismatched", "-", 127},   {"Init", "Lone", "-", 127},
        {"Init", "TwoQuotes", "-", 127},    {"Init", "Equals", "-", 127},
        {"Init", "Tabbed", "-", 127},       {"Init", "High", "-", 127},
        {"Init", "Extra", "-", 127},        {"Connect", "ComPort", "-", 127},
        {"Connect", "Interface", "-", 127}, {"Spaced", "inner", "-", 127},
        {" Spaced ", "inner", "-", 127},    {"Unclosed", "after", "-", 127},
        {"Init", "[Unclosed", "-", 127},    {"", "orphan", "-", 127},
        {"Init", "orphan", "-", 127},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key + " max " + std::to_string(c.max_length));
        EXPECT_EQ(portable_profile_store().read_string(file, c.section, c.key, c.fallback, c.max_length),
                  win32_profile_store().read_string(file, c.section, c.key, c.fallback, c.max_length));
    }
    const std::string absent = folder.file("absent.ini");
    EXPECT_EQ(portable_profile_store().read_string(absent, "Init", "Created", "none", 127),
              win32_profile_store().read_string(absent, "Init", "Created", "none", 127));
}

TEST(ProfileStoreBackends, IntegerReadsAgree)
{
    const char* const values[] = {
        "42", "12abc", "-7", "+5", "0x1F", "0xff", "-0x10", "0o17", "0b101", "0b2", "0X10", "0xg",
        "08", "abc", "--3", "- 3", "+-3", "\"5\"", "\" 6\"", "'7'", "4294967297", "2147483648",
        "-2147483648", "99999999999999999999999999999", "", "   ", "\"\"", "1 2", "\t9",
    };
    temp_folder folder;
    const std::string file = folder.file("ints.ini");
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < std::size(values); ++i) {
        text += "k" + std::to_string(i) + "=" + values[i] + "\r\n";
    }
    write_bytes(file, text);
    for (std::size_t i = 0; i < std::size(values); ++i) {
        SCOPED_TRACE(values[i]);
        const std::string key = "k" + std::to_string(i);
        EXPECT_EQ(portable_profile_store().read_int(file, "N", key.c_str(), -99),
                  win32_profile_store().read_int(file, "N", key.c_str(), -99));
    }
    EXPECT_EQ(portable_profile_store().read_int(file, "N", "missing", -99),
              win32_profile_store().read_int(file, "N", "missing", -99));
}

// Each scenario starts both back ends from the same file (or none) and makes
// the same writes; the files must end up byte for byte the same.
TEST(ProfileStoreBackends, WritesAgreeByteForByte)
{
    struct s_write {
        const char* section;
        const char* key;
        const char* value;
    };
    const struct {
        const char* name;
        const char* initial;  // nullptr: no file yet
        std::vector<s_write> writes;
    } scenarios[] = {
        {"new file", nullptr, {{"Init", "Created", "09:05:07 3/11/2019"}}},
        {"new file, two sections", nullptr, {{"Connect", "Interface", "2"}, {"Init", "Created", "x"}}},
        {"replace in place, case-insensitive names",
         "[Init]\r\nCreated=then\r\n[Connect]\r\nInterface=1\r\nComPort=COM1\r\n",
         {{"connect", "INTERFACE", "2"}}},
        {"add a key to the end of its section",
         "[Init]\r\nCreated=then\r\n\r\n[Connect]\r\nInterface=1\r\n",
         {{"Init", "DatabaseFile", "C:\\db\\t.db"}}},
        {"add a section at the end", "[Init]\r\nCreated=then\r\n", {{"Settings", "NumFormatType", "999"}}},
        {"untidy file", untidy_file, {{"Init", "Quoted", "plain"}, {"Unclosed", "after", "closed"}}},
        {"LF line ends and comments", "; one\n[A]\n; two\nk=v\n", {{"A", "k", "w"}, {"B", "k", "v"}}},
        {"leading white space dropped", nullptr, {{"S", "k", "   spaced"}, {"S", "t", "\ttab"}}},
        {"same value again", "[S]\r\nk=v\r\n", {{"S", "k", "v"}}},
        {"empty value", "[S]\r\nk=v\r\n", {{"S", "k", ""}, {"S", "new", ""}}},
        {"names with white space", nullptr, {{" S ", " k ", "v"}, {"S", "k", "w"}}},
        {"Windows-1252 bytes", nullptr, {{"S", "Unit", "\xB0" "C \xB5V"}}},
    };
    temp_folder folder;
    int index = 0;
    for (const auto& scenario : scenarios) {
        SCOPED_TRACE(scenario.name);
        const std::string portable_file = folder.file("portable" + std::to_string(index) + ".ini");
        const std::string system_file = folder.file("system" + std::to_string(index) + ".ini");
        ++index;
        if (scenario.initial != nullptr) {
            write_bytes(portable_file, scenario.initial);
            write_bytes(system_file, scenario.initial);
        }
        for (const s_write& w : scenario.writes) {
            EXPECT_EQ(portable_profile_store().write_string(portable_file, w.section, w.key, w.value),
                      win32_profile_store().write_string(system_file, w.section, w.key, w.value));
        }
        EXPECT_EQ(read_bytes(portable_file), read_bytes(system_file));
    }
}

TEST(ProfileStoreBackends, AWriteIntoAMissingFolderFailsInBoth)
{
    temp_folder folder;
    const std::string file = folder.file("missing\\x.ini");
    EXPECT_FALSE(portable_profile_store().write_string(file, "S", "k", "v"));
    EXPECT_FALSE(win32_profile_store().write_string(file, "S", "k", "v"));
}

}  // namespace
