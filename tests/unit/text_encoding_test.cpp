// Windows-1252 to UTF-8 and back: every byte survives the round trip, and
// input that is not UTF-8, or names a character the code page lacks, is told
// apart and never half converted.
#include <gtest/gtest.h>

#include <string>

#include "app/text_encoding.h"

namespace {

TEST(TextEncoding, EveryByteSurvivesTheRoundTrip)
{
    std::string all;
    for (int byte = 1; byte < 256; ++byte) {
        all += static_cast<char>(byte);
    }
    std::string back;
    ASSERT_EQ(utf8_to_cp1252(cp1252_to_utf8(all), &back), utf8_conversion::converted);
    EXPECT_EQ(back, all);
}

TEST(TextEncoding, Utf8ToTheProgramsCodePage)
{
    struct conversion_case {
        const char* utf8;
        utf8_conversion result;
        const char* cp1252;  // when converted
    };
    const conversion_case cases[] = {
        {"", utf8_conversion::converted, ""},
        {"Phase -180\xC2\xB0", utf8_conversion::converted, "Phase -180\xB0"},
        {"\xE2\x82\xAC \xC5\xB8 \xC3\xBF \xC2\x81", utf8_conversion::converted, "\x80 \x9F \xFF \x81"},
        {"caf\xE9", utf8_conversion::not_utf8, nullptr},               // already one byte a letter
        {"\xC0\x80", utf8_conversion::not_utf8, nullptr},              // overlong
        {"\xED\xA0\x80", utf8_conversion::not_utf8, nullptr},          // a surrogate
        {"\xE2\x82", utf8_conversion::not_utf8, nullptr},              // cut short
        {"\xF4\x90\x80\x80", utf8_conversion::not_utf8, nullptr},      // beyond U+10FFFF
        {"\xE6\x97\xA5", utf8_conversion::not_representable, nullptr},  // a CJK character
        {"\xC2\x80", utf8_conversion::not_representable, nullptr},      // U+0080 has no byte (0x80 is the euro)
    };
    for (const conversion_case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out = "untouched";
        EXPECT_EQ(utf8_to_cp1252(c.utf8, &out), c.result);
        EXPECT_EQ(out, c.cp1252 ? c.cp1252 : "untouched");
    }
}

}  // namespace
