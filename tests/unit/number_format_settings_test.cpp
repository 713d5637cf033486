// The number format's three keys of the main settings file through the
// portable profile store: written as the dialog writes them, read back,
// and stored values the program cannot use read as their defaults.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "app/number_format_settings.h"
#include "app/profile_store.h"
#include "app/separator_rules.h"
#include "support/temp_folder.h"

namespace {

std::string read_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void write_bytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

class NumberFormatSettings : public ::testing::Test {
protected:
    profile_store& store = portable_profile_store();
    temp_folder folder;
    std::string file = folder.file("Corvexa.ini");
};

TEST_F(NumberFormatSettings, WrittenKeysReadBack)
{
    const s_number_format formats[] = {
        {NUMBER_FORMAT_CUSTOM, ';', '_'},
        {NUMBER_FORMAT_GERMANY, ',', '.'},
        {NUMBER_FORMAT_DEFAULT, '.', '\xA0'},
        {NUMBER_FORMAT_FRANCE, '\'', ' '},
    };
    for (const s_number_format& format : formats) {
        SCOPED_TRACE(format.type);
        ASSERT_TRUE(number_format_write(store, file, format));
        const s_number_format read = number_format_read(store, file);
        EXPECT_EQ(read.type, format.type);
        EXPECT_EQ(read.decimal, format.decimal);
        EXPECT_EQ(read.thousands, format.thousands);
    }
}

TEST_F(NumberFormatSettings, KeysAreWrittenIntoTheSettingsSectionBesideTheOthers)
{
    write_bytes(file, "[Init]\r\nCreated=09:05:07 3/11/2019\r\n[Settings]\r\nNumFormatType=2\r\n");
    ASSERT_TRUE(number_format_write(store, file, {NUMBER_FORMAT_CUSTOM, ',', '.'}));
    EXPECT_EQ(read_bytes(file),
              "[Init]\r\nCreated=09:05:07 3/11/2019\r\n"
              "[Settings]\r\nNumFormatType=999\r\nNumFormatDecimal=,\r\nNumFormatThousand=.\r\n");
    // A space is quoted, or reading would trim it away.
    ASSERT_TRUE(number_format_write(store, file, {NUMBER_FORMAT_CUSTOM, ',', ' '}));
    EXPECT_NE(read_bytes(file).find("NumFormatThousand=\" \"\r\n"), std::string::npos);
}

TEST_F(NumberFormatSettings, AStoredTypeTheProgramDoesNotKnowReadsAsTheDefault)
{
    const struct {
        const char* stored;
        int type;
    } cases[] = {
        {"0", 0},   {"1", 1},  {"2", 2},    {"3", 3},   {"999", 999}, {"0x3E7", 999},
        {"4", 0},   {"-1", 0}, {"998", 0}, {"1000", 0}, {"abc", 0},   {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        write_bytes(file, std::string("[Settings]\r\nNumFormatType=") + c.stored + "\r\n");
        EXPECT_EQ(number_format_read(store, file).type, c.type);
    }
}

TEST_F(NumberFormatSettings, AMissingFileGivesTheDefaultsAndCannotBeWritten)
{
    const std::string nowhere = folder.file("missing") + "/Corvexa.ini";
    const s_number_format read = number_format_read(store, nowhere);
    EXPECT_EQ(read.type, NUMBER_FORMAT_DEFAULT);
    EXPECT_EQ(read.decimal, '.');
    EXPECT_EQ(read.thousands, ',');
    EXPECT_FALSE(number_format_write(store, nowhere, {NUMBER_FORMAT_CUSTOM, ';', '_'}));
}

TEST(SeparatorRules, MarksLettersDigitsAndControlsAreRefused)
{
    for (char refused : {'+', '-', '*', '\\', '/', '"', '`', '$', '\xA3', '\t', '\r', '\n', '\0', '\x1F', '\x7F',
                         'a', 'z', 'A', 'Z', 'e', 'E', '0', '9'}) {
        EXPECT_TRUE(separator_refused(refused)) << static_cast<int>(static_cast<unsigned char>(refused));
    }
    for (char taken : {',', '.', ' ', '\'', ';', '_', ':', '#', '?', '\xA0', '\xB7', '\x92'}) {
        EXPECT_FALSE(separator_refused(taken)) << static_cast<int>(static_cast<unsigned char>(taken));
    }
}

}  // namespace
