// The portable profile store: the reading, integer and rewriting rules of the
// system's private-profile functions, on small files written byte by byte.
#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/path_text.h"
#include "app/profile_store.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

class PortableProfileStore : public ::testing::Test {
protected:
    profile_store& store = portable_profile_store();
    temp_folder folder;
    std::string file = folder.file("test.ini");
};

// Mixed line ends, untidy spacing, a comment, keys before any section, a
// repeated section: everything a hand-edited file may hold.
const char* const untidy_file =
    "; written by hand\r\n"
    "orphan=before any section\r\n"
    "[Init]\r\n"
    "   Created  =   09:05:07 3/11/2019   \r\n"
    "Empty=\r\n"
    "NoEquals\r\n"
    "Quoted=\"  spaced  \"\r\n"
    "Single='x'\r\n"
    "Mismatched=\"abc'\r\n"
    "Lone=\"\r\n"
    "Equals=a=b\r\n"
    "\r\n"
    "[Connect]\n"
    "ComPort=COM1234567\r"
    "Interface=2\n\n"
    "[ Spaced ] trailing text\r\n"
    "inner=1\r\n"
    "[init]\r\n"
    "Created=from the repeated section\r\n"
    "Extra=only in the repeated section\r\n";

struct s_read_case {
    const char* section;
    const char* key;
    const char* fallback;
    std::size_t max_length;
    const char* expected;
};

TEST_F(PortableProfileStore, ReadsStringsAsTheSystemDoes)
{
    write_bytes(file, untidy_file);
    const s_read_case cases[] = {
        {"Init", "Created", "-", 127, "09:05:07 3/11/2019"},
        {"INIT", "created", "-", 127, "09:05:07 3/11/2019"},   // names ignore case
        {" Init ", " Created ", "-", 127, "09:05:07 3/11/2019"},  // and surrounding space
        {"Init", "Created", "-", 8, "09:05:07"},                 // cut to the maximum
        {"Init", "Created", "-", 0, ""},
        {"Init", "Missing", "fallback", 127, "fallback"},
        {"Init", "Missing", "fallback", 4, "fall"},            // the fallback is cut too
        {"Missing", "Created", "fallback", 127, "fallback"},
        {"Init", "Empty", "fallback", 127, ""},                 // present but empty
        {"Init", "NoEquals", "fallback", 127, "fallback"},      // a key line without '='
        {"Init", "Quoted", "-", 127, "  spaced  "},             // one pair of quotes stripped
        {"Init", "Single", "-", 127, "x"},
        {"Init", "Mismatched", "-", 127, "\"abc'"},
        {"Init", "Lone", "-", 127, "\""},
        {"Init", "Equals", "-", 127, "a=b"},                    // split at the first '='
        {"Connect", "ComPort", "-", 127, "COM1234567"},          // LF and lone CR end lines
        {"Connect", "Interface", "-", 127, "2"},
        {"Spaced", "inner", "-", 127, "1"},                    // section names are trimmed
        {"Init", "Extra", "-", 127, "-"},                      // only the first [init] counts
        {"", "orphan", "-", 127, "before any section"},
        {"Init", "orphan", "-", 127, "-"},
    };
    for (const s_read_case& c : cases) {
        SCOPED_TRACE(std::string(c.section) + "/" + c.key);
        EXPECT_EQ(store.read_string(file, c.section, c.key, c.fallback, c.max_length), c.expected);
    }
    EXPECT_EQ(store.read_string(folder.file("absent.ini"), "Init", "Created", "none", 127), "none");
}

TEST_F(PortableProfileStore, ReadsTheLeadingIntegerAndFallsBackOnEmptyValues)
{
    const struct {
        const char* stored;
        int expected;
    } cases[] = {
        {"42", 42},           {"12abc", 12},       {"-7", -7},          {"+5", 5},
        {"0x1F", 31},         {"-0x10", -16},      {"0o17", 15},        {"0b101", 5},
        {"0X10", 0},          {"0xg", 0},          {"08", 8},           {"abc", 0},
        {"--3", 0},           {"- 3", 0},          {"\"5\"", 5},        {"\" 6\"", 6},
        {"4294967297", 1},    {"2147483648", INT_MIN},
        {"", -99},            {"\"\"", -99},
    };
    std::string text = "[N]\r\n";
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        text += "k" + std::to_string(i) + "=" + cases[i].stored + "\r\n";
    }
    write_bytes(file, text);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE(cases[i].stored);
        EXPECT_EQ(store.read_int(file, "N", ("k" + std::to_string(i)).c_str(), -99), cases[i].expected);
    }
    EXPECT_EQ(store.read_int(file, "N", "missing", -99), -99);
    EXPECT_EQ(store.read_int(folder.file("absent.ini"), "N", "k0", 7), 7);
}

TEST_F(PortableProfileStore, CreatesAMissingFile)
{
    ASSERT_TRUE(store.write_string(file, "Init", "Created", "09:05:07 3/11/2019"));
    EXPECT_EQ(read_bytes(file), "[Init]\r\nCreated=09:05:07 3/11/2019\r\n");
}

TEST_F(PortableProfileStore, RewritesTheWholeFileKeepingOrder)
{
    write_bytes(file,
                "; comment\n"
                "[Init]\n"
                "Created = then\n"
                "\n"
                "[Connect]\n"
                "Interface=1\n"
                "ComPort=COM1\n");
    ASSERT_TRUE(store.write_string(file, "connect", "INTERFACE", "  2"));   // replaced in place
    ASSERT_TRUE(store.write_string(file, "Init", "DatabaseFile", "C:\\db\\t.db"));  // end of section
    ASSERT_TRUE(store.write_string(file, "Settings", "NumFormatType", "999"));      // new section
    EXPECT_EQ(read_bytes(file),
              "; comment\r\n"
              "[Init]\r\n"
              "Created=then\r\n"
              "DatabaseFile=C:\\db\\t.db\r\n"
              "[Connect]\r\n"
              "Interface=2\r\n"
              "ComPort=COM1\r\n"
              "[Settings]\r\n"
              "NumFormatType=999\r\n");
}

TEST_F(PortableProfileStore, KeepsWindows1252BytesAsTheyAre)
{
    ASSERT_TRUE(store.write_string(file, "S", "Unit", "\xB0" "C \xB5V"));
    EXPECT_EQ(store.read_string(file, "S", "Unit", "", 127), "\xB0" "C \xB5V");
    EXPECT_EQ(read_bytes(file), "[S]\r\nUnit=\xB0" "C \xB5V\r\n");
}

TEST_F(PortableProfileStore, RefusesTextThatWouldBreakTheFile)
{
    const char* const original = "[S]\r\nk=v\r\n";
    const struct {
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"S", "k", "v\r\n[Injected]"}, {"S", "k", "v\nx=1"},  {"S", "k=1", "v"},
        {"S", "[k]", "v"},             {"S]x", "k", "v"},     {"S\n", "k", "v"},
        {"", "k", "v"},                {"S", " ", "v"},       {"S", "k", nullptr},
    };
    for (const auto& c : cases) {
        write_bytes(file, original);
        EXPECT_FALSE(store.write_string(file, c.section, c.key, c.value)) << c.section << "/" << c.key;
        EXPECT_EQ(read_bytes(file), original);
    }
}

TEST_F(PortableProfileStore, WritesFailCleanlyWhereNoFileCanBe)
{
    EXPECT_FALSE(store.write_string(folder.file("missing-folder") + "/x.ini", "S", "k", "v"));
    EXPECT_FALSE(store.write_string("", "S", "k", "v"));
}

TEST_F(PortableProfileStore, NeverUsesAPathLongerThanTheSystemTakes)
{
    // A real folder whose files' paths are 259 and 260 characters long.
    const std::string prefix = path_join(folder.path(), "");
    const std::size_t name_length = max_system_path_length - prefix.size() - 6;  // "/a.ini"
    const std::string long_folder = path_join(folder.path(), std::string(name_length, 'd'));
    std::filesystem::create_directory(long_folder);
    const std::string fits = path_join(long_folder, "a.ini");
    const std::string too_long = path_join(long_folder, "ab.ini");
    ASSERT_EQ(fits.size(), max_system_path_length);

    EXPECT_TRUE(store.write_string(fits, "S", "k", "v"));
    EXPECT_EQ(store.read_string(fits, "S", "k", "-", 127), "v");

    write_bytes(too_long, "[S]\r\nk=v\r\n");
    EXPECT_EQ(store.read_string(too_long, "S", "k", "-", 127), "-");
    EXPECT_EQ(store.read_int(too_long, "S", "k", 3), 3);
    EXPECT_FALSE(store.write_string(too_long, "S", "k", "w"));
    EXPECT_EQ(read_bytes(too_long), "[S]\r\nk=v\r\n");
}

}  // namespace
