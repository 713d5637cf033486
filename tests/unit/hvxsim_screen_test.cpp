// The simulator's display in-process: each reply form decoded by the
// program's own row decoders and compared with the simulator's picture,
// the groups, the knobs that spoil a reply, a picture read from a bitmap
// file and written back, and the suspend and recovery commands.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "capture/capture_rows.h"
#include "graph/bmp_file.h"
#include "graph/pixel_image.h"
#include "sim/instrument.h"
#include "sim/screen_commands.h"
#include "sim/screen_picture.h"
#include "sim/screen_setup.h"
#include "support/sim_state.h"
#include "support/temp_folder.h"

namespace {

using namespace hvxsim;
using replies = std::vector<std::string>;

// The program's reading of a monochrome reply: dark pixels by position.
std::vector<bool> read_mono(const replies& lines, int width)
{
    std::vector<bool> dark;
    std::vector<std::uint8_t> row(static_cast<std::size_t>(width / 8));
    for (const std::string& line : lines) {
        EXPECT_TRUE(decode_mono_row(line.data(), static_cast<int>(line.size()), width / 8, row.data())) << line;
        for (int x = 0; x < width; ++x) {
            dark.push_back((row[x / 8] & (0x80 >> (x % 8))) == 0);
        }
    }
    return dark;
}

// The program's reading of a colour reply: blue, green, red from the top.
std::vector<std::uint8_t> read_colour(const replies& lines, int width, int height)
{
    std::string raw;
    for (const std::string& line : lines) {
        EXPECT_TRUE(take_colour_line(line.data(), static_cast<int>(line.size()), width / 4, raw)) << line;
    }
    std::vector<std::uint8_t> bottom_up(static_cast<std::size_t>(3 * width * height));
    colour_rows_to_pixels(raw, width, height, bottom_up.data());
    std::vector<std::uint8_t> top_down;
    for (int y = height - 1; y >= 0; --y) {
        top_down.insert(top_down.end(), bottom_up.begin() + 3 * width * y, bottom_up.begin() + 3 * width * (y + 1));
    }
    return top_down;
}

std::vector<bool> dark_pixels(const screen_picture& p, bool negative)
{
    std::vector<bool> dark;
    for (std::uint8_t pixel : p.pixels) {
        dark.push_back(pixel_is_dark(negative ? static_cast<std::uint8_t>(0x3F - pixel) : pixel));
    }
    return dark;
}

std::vector<std::uint8_t> colour_bytes(const screen_picture& p, bool negative)
{
    std::vector<std::uint8_t> bgr;
    for (std::uint8_t pixel : p.pixels) {
        const int shown = negative ? 0x3F - pixel : pixel;
        bgr.push_back(value_of_level(shown));
        bgr.push_back(value_of_level(shown >> 2));
        bgr.push_back(value_of_level(shown >> 4));
    }
    return bgr;
}

TEST(HvxsimScreen, EveryReplyFormReadsBackAsThePicture)
{
    struct form_case {
        const char* preset;
        int width, height;
    };
    for (const form_case& f : {form_case{"hvxa", 320, 240}, form_case{"wxe5", 512, 272}}) {
        SCOPED_TRACE(f.preset);
        instrument device(sim_state_from_words({"--instrument", f.preset}));
        const screen_picture& p = device.snapshot().screen.picture;
        ASSERT_EQ(p.width, f.width);
        ASSERT_EQ(p.height, f.height);
        for (const char* command : {"SCREEN?", "screen,group1?", "SCREEN,GROUP2?"}) {
            SCOPED_TRACE(command);
            const replies lines = device.execute(command);
            ASSERT_EQ(lines.size(), static_cast<std::size_t>(f.height));
            EXPECT_EQ(lines[0].size(), 2u + f.width / 4);
            EXPECT_TRUE(read_mono(lines, f.width) == dark_pixels(p, std::string(command) == "SCREEN,GROUP2?"));
        }
        for (const char* command : {"SCREEN,COLOUR?", "SCREEN,COLOUR,GROUP1?", "SCREEN,COLOUR,GROUP2?"}) {
            SCOPED_TRACE(command);
            const replies lines = device.execute(command);
            ASSERT_EQ(lines.size(), static_cast<std::size_t>(4 * f.height));
            EXPECT_TRUE(read_colour(lines, f.width, f.height) ==
                        colour_bytes(p, std::string(command) == "SCREEN,COLOUR,GROUP2?"));
        }
    }
}

TEST(HvxsimScreen, TheTestPictureShowsItsCornerAllColoursAndBothCases)
{
    const screen_picture p = test_picture({320, 240});
    EXPECT_EQ(p.at(10, 10), 0x00) << "the black block at the top left";
    EXPECT_EQ(p.at(300, 10), 0x3F) << "white at the top right";
    std::vector<bool> seen(64);
    for (int x = 0; x < p.width; ++x) {
        seen[p.at(x, p.height / 3)] = true;
    }
    EXPECT_EQ(std::count(seen.begin(), seen.end(), true), 64);
    const replies lines = mono_screen_lines(p, false);
    EXPECT_NE(lines[0].find_first_of("ABCDEF"), std::string::npos);
    EXPECT_NE(lines[1].find_first_of("abcdef"), std::string::npos);
}

TEST(HvxsimScreen, KnobsSpoilEveryScreenReply)
{
    struct knob_case {
        std::vector<std::string> words;
        const char* command;
        std::size_t lines;
        std::size_t spoilt;  // the line (from 0) that changed
        std::size_t spoilt_length;
    };
    const knob_case cases[] = {
        {{"--screen-stop-after", "7"}, "SCREEN?", 7, 99, 0},
        {{"--screen-stop-after", "5"}, "SCREEN,COLOUR?", 5, 99, 0},
        {{"--screen-short-line", "3"}, "SCREEN?", 240, 2, 2 + 40},
        {{"--screen-short-line", "3"}, "SCREEN,COLOUR?", 960, 2, 2 + 40},
        {{"--screen-garble-line", "1"}, "SCREEN?", 240, 0, 2 + 80},
    };
    for (const knob_case& c : cases) {
        SCOPED_TRACE(c.words[0] + " " + c.command);
        instrument device(sim_state_from_words(c.words));
        const instrument_response response = device.respond(c.command);
        EXPECT_EQ(response.lines.size(), c.lines);
        EXPECT_FALSE(response.notes.empty());
        if (c.spoilt < response.lines.size()) {
            EXPECT_EQ(response.lines[c.spoilt].size(), c.spoilt_length);
        }
    }
    instrument garbled(sim_state_from_words({"--screen-garble-line", "2"}));
    const replies lines = garbled.execute("SCREEN?");
    EXPECT_EQ(lines[1].substr(0, 4), "M:??");
    std::uint8_t row[40];
    EXPECT_FALSE(decode_mono_row(lines[1].data(), static_cast<int>(lines[1].size()), 40, row));
}

TEST(HvxsimScreen, RepliesAreSpacedBySlowLines)
{
    instrument device(sim_state_from_words({"--slow-lines-ms", "15"}));
    EXPECT_EQ(device.respond("SCREEN?").line_interval, std::chrono::milliseconds(15));
}

TEST(HvxsimScreen, APictureFileIsShownAndWrittenBack)
{
    temp_folder folder;
    s_pixel_image written = make_pixel_image(320, 240, 0x00FFFFFF);
    const std::uint8_t values[] = {0, 64, 128, 255, 20, 100, 200};  // the last three to their nearest levels
    for (std::size_t i = 0; i < written.bgr.size(); ++i) {
        written.bgr[i] = values[(i * 5 + i / 960) % 7];
    }
    const std::string file = folder.file("screen.bmp");
    ASSERT_TRUE(write_bmp_bits(file, written));  // top-down rows

    const std::string colour_out = folder.file("colour.bmp");
    const std::string mono_out = folder.file("mono.bmp");
    instrument_state state =
        sim_state_from_words({"--screen", file, "--write-screen", colour_out, "--write-screen-mono", mono_out});
    const screen_picture& p = state.screen.picture;
    std::string error;
    sim_options options;
    ASSERT_TRUE(parse_options({"--write-screen", colour_out, "--write-screen-mono", mono_out}, options, error));
    ASSERT_TRUE(write_screen_files(options, state, error)) << error;

    for (std::size_t i = 0; i < written.bgr.size(); i += 3) {
        const std::size_t pixel = i / 3;
        const std::uint8_t levels[3] = {static_cast<std::uint8_t>(p.pixels[pixel] & 3),
                                        static_cast<std::uint8_t>((p.pixels[pixel] >> 2) & 3),
                                        static_cast<std::uint8_t>(p.pixels[pixel] >> 4)};
        for (int c = 0; c < 3; ++c) {
            const std::uint8_t v = written.bgr[i + c];
            const std::uint8_t nearest = v < 32 ? 0 : v < 96 ? 1 : v < 192 ? 2 : 3;
            ASSERT_EQ(levels[c], nearest) << "pixel " << pixel;
        }
    }
    // Written back, bottom-up: the rows the program's writer makes of the
    // same picture.
    auto bytes_of = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    s_pixel_image shown = make_pixel_image(320, 240);
    const std::vector<std::uint8_t> colours = colour_bytes(p, false);
    shown.bgr.assign(colours.begin(), colours.end());
    const std::vector<std::uint8_t> expected = bmp_24_file_bytes(shown);
    const std::vector<std::uint8_t> colour_file = bytes_of(colour_out);
    ASSERT_EQ(colour_file.size(), expected.size());
    EXPECT_TRUE(std::equal(colour_file.begin() + 54, colour_file.end(), expected.begin() + 54));
    EXPECT_EQ(bytes_of(mono_out).size(), expected.size());
}

TEST(HvxsimScreen, PictureFilesItCannotShowAreRefused)
{
    temp_folder folder;
    const std::string small = folder.file("small.bmp");
    ASSERT_TRUE(write_bmp_24(small, make_pixel_image(100, 50)));
    const std::string text = folder.file("text.bmp");
    std::ofstream(text) << "not a picture";
    struct refusal {
        std::vector<std::string> words;
        const char* says;
    };
    const refusal cases[] = {
        {{"--screen", small}, "is 100x50 pixels; the instrument's screen is 320x240"},
        {{"--screen", small, "--instrument", "wxe5"}, "the instrument's screen is 512x272"},
        {{"--screen", text}, "is not a bitmap file"},
        {{"--screen", folder.file("missing.bmp")}, "cannot read"},
    };
    for (const refusal& c : cases) {
        sim_options options;
        std::string error;
        ASSERT_TRUE(parse_options(c.words, options, error));
        instrument_state state;
        EXPECT_FALSE(set_up_screen(options, state, error));
        EXPECT_NE(error.find(c.says), std::string::npos) << error;
    }
}

TEST(HvxsimScreen, SuspendTakesBothSpellingsAndTheRecoveryByteIsNotAnswered)
{
    instrument device(sim_state_from_words({}));
    EXPECT_TRUE(device.execute("SUSPEND,ON").empty());
    EXPECT_TRUE(device.snapshot().suspended);
    EXPECT_TRUE(device.execute("SUSPEND,OFF").empty());
    EXPECT_FALSE(device.snapshot().suspended);
    const instrument_response end = device.respond("\x19");
    EXPECT_TRUE(end.lines.empty());
    EXPECT_FALSE(end.notes.empty());
    instrument no_configuration(sim_state_from_words({"--instrument", "wxe5"}));
    EXPECT_EQ(no_configuration.execute("SCREEN?").size(), 272u) << "every instrument has a screen";
}

}  // namespace
