#include "graph/number_format.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using binary_value = std::array<unsigned char, BINARY_VALUE_SIZE>;

// Reference encoder of the instrument's 5-byte values: 20-bit mantissa with
// its top bit set, power-of-two exponent from -64 to 63.
binary_value encode(double value, unsigned char separator = ',')
{
    binary_value bytes{0x80, 0x00, 0x00, 0x00, separator};
    if (value == 0) {
        return bytes;
    }
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);
    const auto mantissa = static_cast<unsigned long>(std::ldexp(fraction, 20));
    bytes[0] = static_cast<unsigned char>(0x80 | (exponent & 0x7F));
    bytes[1] = static_cast<unsigned char>((value < 0 ? 0x40 : 0) | ((mantissa >> 14) & 0x3F));
    bytes[2] = static_cast<unsigned char>((mantissa >> 7) & 0x7F);
    bytes[3] = static_cast<unsigned char>(mantissa & 0x7F);
    return bytes;
}

// A reply held in a buffer of exactly its own length, so that the address
// sanitizer reports any read past it.
std::vector<char> reply_of(const std::vector<binary_value>& values, std::size_t trim = 0)
{
    std::vector<char> reply;
    for (const binary_value& value : values) {
        reply.insert(reply.end(), value.begin(), value.end());
    }
    reply.resize(reply.size() - trim);
    return reply;
}

std::vector<char> reply_of(const std::string& text)
{
    return std::vector<char>(text.begin(), text.end());
}

TEST(DecodeBinaryValue, FieldsOfTheFiveBytes)
{
    const struct {
        binary_value bytes;
        double value;
    } cases[] = {
        {{0x80, 0x20, 0x80, 0x80, 0}, 0.5},                 // bit 7 of bytes 2 and 3 is ignored
        {{0x80, 0xA0, 0x00, 0x00, 0}, 0.5},                 // and of byte 1
        {{0x81, 0x20, 0x00, 0x00, 0}, 1.0},
        {{0x80, 0x60, 0x00, 0x00, 0}, -0.5},                // bit 6 of byte 1: negative
        {{0xC1, 0x20, 0x00, 0x00, 0}, std::ldexp(0.5, -63)},  // bit 6 of byte 0: exponent - 64
        {{0xC0, 0x20, 0x00, 0x00, 0}, std::ldexp(0.5, -64)},
        {{0xBF, 0x20, 0x00, 0x00, 0}, std::ldexp(0.5, 63)},
        {{0x80, 0x3F, 0x7F, 0x7F, 0}, 1.0 - std::ldexp(1.0, -20)},
        {{0x80, 0x1F, 0x7F, 0x7F, 0}, 0.0},  // bit 5 clear: zero, whatever follows
        {{0xFF, 0x40, 0xFF, 0xFF, 0}, 0.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(decode_binary_value(c.bytes.data()), c.value);
    }
}

TEST(DecodeBinaryValue, RoundTripsTheReferenceEncoderAndWritesText)
{
    for (double value : {1234.5, -1234.5, 1.0, 3.0, 1e6, -0.001953125, 0.0, std::ldexp(0.75, 62)}) {
        SCOPED_TRACE(value);
        EXPECT_EQ(decode_binary_value(encode(value).data()), value);
    }
    // 0.1 needs more than 20 mantissa bits: the value comes back truncated.
    EXPECT_NEAR(decode_binary_value(encode(0.1).data()), 0.1, 0.1 * std::ldexp(1.0, -19));

    char text[16];
    EXPECT_EQ(decode_binary_value(encode(1234.5).data(), text, sizeof text), 1234.5);
    EXPECT_STREQ(text, "1.23450E3");
    decode_binary_value(encode(0.0).data(), text, sizeof text);
    EXPECT_STREQ(text, "0.00000E0");
    std::memset(text, 'X', sizeof text);
    decode_binary_value(encode(-1234.5).data(), text, 5);
    EXPECT_STREQ(text, "-1.2");
    EXPECT_EQ(text[5], 'X');
}

TEST(ParseValueList, BinaryListsStopAtCountNulOrEndOfReply)
{
    double values[4] = {};
    const binary_value a = encode(1.5);
    const binary_value b = encode(-2.0);
    const binary_value c = encode(1234.5, '\n');

    std::vector<char> reply = reply_of({a, b, c});
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 4), 3);
    EXPECT_EQ(values[0], 1.5);
    EXPECT_EQ(values[1], -2.0);
    EXPECT_EQ(values[2], 1234.5);
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 2), 2);

    // The line end after the last value was dropped by the reader: its four
    // value bytes still count. Three bytes are not a value.
    reply = reply_of({a, b, c}, 1);
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 4), 3);
    reply = reply_of({a, b, c}, 2);
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 4), 2);

    reply = reply_of({a, binary_value{0, 0x20, 0, 0, 0}, c});
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 4), 1);
}

TEST(ParseValueList, StrictBinaryListAlsoStopsAtLineFeed)
{
    double values[4] = {};
    const std::vector<char> reply = reply_of({encode(1.5), binary_value{'\n', 0x20, 0, 0, 0}});
    EXPECT_EQ(parse_value_list_strict(reply.data(), reply.size(), values, 4), 1);
    EXPECT_EQ(parse_value_list(reply.data(), reply.size(), values, 4), 2);
}

TEST(ParseValueList, TextFieldsConvertTheirLeadingNumber)
{
    const struct {
        const char* text;
        std::vector<double> values;
    } cases[] = {
        {"1.5,2,-3e2", {1.5, 2, -300}},
        {"1.2345E+03,12.5,2.0000E+00", {1234.5, 12.5, 2}},
        {"abc,4", {0, 4}},
        {" 12.5V,7\r\n", {12.5, 7}},
        {"1,2,", {1, 2, 0}},  // a trailing comma opens an empty field
        {"0x10,1e999", {16, HUGE_VAL}},
        {"", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<char> reply = reply_of(c.text);
        double values[8] = {};
        ASSERT_EQ(parse_value_list(reply.data(), reply.size(), values, 8), static_cast<int>(c.values.size()));
        for (std::size_t i = 0; i < c.values.size(); ++i) {
            EXPECT_EQ(values[i], c.values[i]) << "value " << i;
        }
    }
}

TEST(ParseValueList, TextEndsAtLengthNulOrCount)
{
    double values[4] = {};
    const std::vector<char> unterminated = reply_of("12345,6");
    EXPECT_EQ(parse_value_list(unterminated.data(), 3, values, 4), 1);
    EXPECT_EQ(values[0], 123);

    const char with_nul[] = "1,2\0,3";
    EXPECT_EQ(parse_value_list(with_nul, sizeof with_nul - 1, values, 4), 2);

    const std::vector<char> many = reply_of("1,2,3,4,5,6");
    EXPECT_EQ(parse_value_list(many.data(), many.size(), values, 4), 4);
    EXPECT_EQ(values[3], 4);

    EXPECT_EQ(parse_value_list(many.data(), 0, values, 4), 0);
    EXPECT_EQ(parse_value_list(many.data(), many.size(), values, 0), 0);
    EXPECT_EQ(parse_value_list(nullptr, 5, values, 4), 0);
}

TEST(ParseValueListStrict, FieldsMustLookLikeTheExponentForm)
{
    const struct {
        const char* text;
        int count;
    } cases[] = {
        {"1.2345E+03,12.5,2.0000E+00", 1},  // 12.5 is too short and ends the list
        {"1.0000E+00\n", 1},                 // the line end is not part of the field
        {"1.0000E+00\r\n", 1},
        {"-1.2345E+03,-2.5000E-01\r\n", 2},  // two 11-character fields
        {"1.5E+003,1.23456E+003", 1},        // 8 characters pass, 12 do not
        {"1.5E+03", 0},
        {"1.2.45E+003", 0},  // a second "." fails
        {"12345E+003", 0},   // so does none
        {"1.0000E+00,", 1},  // the empty field after the comma fails
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const std::vector<char> reply = reply_of(c.text);
        double values[4] = {};
        EXPECT_EQ(parse_value_list_strict(reply.data(), reply.size(), values, 4), c.count);
    }
    double values[2] = {};
    const std::vector<char> reply = reply_of("-1.2345E+03,-2.5000E-01\r\n");
    ASSERT_EQ(parse_value_list_strict(reply.data(), reply.size(), values, 2), 2);
    EXPECT_EQ(values[0], -1234.5);
    EXPECT_EQ(values[1], -0.25);
}

}  // namespace
