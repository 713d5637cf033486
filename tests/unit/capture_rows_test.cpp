// The screen reply's row decoding byte by byte, the colour level table, the
// bottom-up colour rows, the capture as a picture, and the view's picture
// area.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "capture/capture_area.h"
#include "capture/capture_rows.h"
#include "capture/screen_capture.h"

namespace {

TEST(CaptureRows, MonochromeBytesAreReversedAndInverted)
{
    struct byte_case {
        std::uint8_t sent, stored;
    };
    const byte_case cases[] = {{0x01, 0x7F}, {0x80, 0xFE}, {0x00, 0xFF}, {0xFF, 0x00},
                               {0x0F, 0x0F}, {0x03, 0x3F}, {0xA5, 0x5A}, {0x12, 0xB7}};
    for (const byte_case& c : cases) {
        EXPECT_EQ(mono_stored_byte(c.sent), c.stored) << static_cast<int>(c.sent);
    }
}

TEST(CaptureRows, MonochromeLines)
{
    struct line_case {
        const char* line;
        bool decoded;
        std::vector<std::uint8_t> row;
    };
    const line_case cases[] = {
        {"M:01FF", true, {0x7F, 0x00}},
        {"xx0aF0", true, {0xAF, 0xF0}} /* either case, the prefix never read */,
        {"M:0000EXTRA", true, {0xFF, 0xFF}},
        {"M:01F", false, {}},
        {"M:", false, {}},
        {"", false, {}},
        {"M:01G0", false, {}},
        {"M:01 0", false, {}},
        {"M:-100", false, {}},
    };
    for (const line_case& c : cases) {
        std::uint8_t row[2] = {0x55, 0x55};
        const std::string line = c.line;
        EXPECT_EQ(decode_mono_row(line.data(), static_cast<int>(line.size()), 2, row), c.decoded) << c.line;
        if (c.decoded) {
            EXPECT_EQ(std::vector<std::uint8_t>(row, row + 2), c.row) << c.line;
        }
    }
}

TEST(CaptureRows, ALineFeedLeftInASerialLineIsNoCharacter)
{
    EXPECT_EQ(capture_line_length("C0@@\n", 5), 4);
    EXPECT_EQ(capture_line_length("C0@@", 4), 4);
    EXPECT_EQ(capture_line_length("", 0), 0);
}

TEST(CaptureRows, ColourLinesGiveExactlyTheirPixels)
{
    std::string raw = "..";
    EXPECT_TRUE(take_colour_line("C0ABCD", 6, 4, raw));
    EXPECT_EQ(raw, "..ABCD");
    EXPECT_TRUE(take_colour_line("C0ABCDEF", 8, 4, raw));
    EXPECT_EQ(raw, "..ABCDABCD") << "characters past the pixels are not taken";
    EXPECT_FALSE(take_colour_line("C0ABC", 5, 4, raw));
    EXPECT_FALSE(take_colour_line("C", 1, 4, raw));
    EXPECT_EQ(raw, "..ABCDABCD") << "a short line appends nothing";
}

TEST(CaptureRows, ColourLevels)
{
    struct pixel_case {
        unsigned character;
        std::uint8_t blue, green, red;
    };
    const pixel_case cases[] = {
        {0x34, 0, 64, 255},      // red 3, green 1, blue 0
        {0x40, 0, 0, 0},         {0x7F, 255, 255, 255}, {0x41, 64, 0, 0},
        {0x42, 128, 0, 0},       {0x48, 0, 128, 0},     {0x60, 0, 0, 128},
        {0xC4 /* bits 7-6 */, 0, 64, 0},
    };
    for (const pixel_case& c : cases) {
        std::uint8_t bgr[3];
        colour_pixel(static_cast<char>(c.character), bgr);
        EXPECT_EQ(bgr[0], c.blue) << c.character;
        EXPECT_EQ(bgr[1], c.green) << c.character;
        EXPECT_EQ(bgr[2], c.red) << c.character;
    }
}

TEST(CaptureRows, TheTopColourRowEndsUpLastInTheBottomUpRows)
{
    // Two rows of two pixels: the top row red and white, the bottom row black and blue.
    const std::string raw = std::string("\x70\x7F") + "\x40\x43";
    std::uint8_t pixels[12];
    colour_rows_to_pixels(raw, 2, 2, pixels);
    const std::vector<std::uint8_t> expected = {0, 0, 0, 255, 0, 0, 0, 0, 255, 255, 255, 255};
    EXPECT_EQ(std::vector<std::uint8_t>(pixels, pixels + 12), expected);
}

TEST(CaptureRows, OnlyAValidCaptureOfAFittingSizeIsAPicture)
{
    const auto capture = std::make_unique<s_screen_capture>();
    capture->width = 320;
    capture->height = 240;
    EXPECT_EQ(capture_picture(*capture).width, 0) << "not valid";
    capture->valid = 1;
    capture->pixels[0] = 0x80;  // the leftmost pixel of the top row white, the rest black
    const s_pixel_image mono = capture_picture(*capture);
    ASSERT_EQ(mono.width, 320);
    EXPECT_EQ(mono.bgr[0], 255);
    EXPECT_EQ(mono.bgr[3], 0);
    capture->from_file = 1;
    capture->pixels[3 * 320 * 239] = 7;  // the first pixel of the stored bottom-up rows: the top left
    EXPECT_EQ(capture_picture(*capture).bgr[0], 7);
    for (auto [width, height] : {std::pair{0, 240}, std::pair{320, 0}, std::pair{12, 10}, std::pair{1024, 1024}}) {
        capture->width = width;
        capture->height = height;
        EXPECT_EQ(capture_picture(*capture).width, 0) << width << "x" << height;
    }
}

TEST(CaptureRows, ThePictureAreaOfTheView)
{
    const auto capture = std::make_unique<s_screen_capture>();
    const s_capture_rect client{10, 20, 1000, 500};
    s_capture_rect area = capture_area_in(client, 24, *capture);
    EXPECT_EQ(area.left, 250);
    EXPECT_EQ(area.top, 68);
    EXPECT_EQ(area.right, 570) << "320 wide while the size is 0";
    EXPECT_EQ(area.bottom, 308);
    capture->width = 512;
    capture->height = 272;
    area = capture_area_in(client, 24, *capture);
    EXPECT_EQ(area.right, 250 + 512);
    EXPECT_EQ(area.bottom, 68 + 272);
}

}  // namespace
