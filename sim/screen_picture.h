// The picture on the simulated instrument's display, and what the display
// is: its size by instrument, a built-in test picture, a picture read from
// a bitmap file (--screen), and a picture written as a bitmap file
// (--write-screen, --write-screen-mono), so that a test can compare what a
// reader made of the screen with what the screen showed.
//
// A pixel is one byte holding three levels of 0 to 3: red in bits 5-4,
// green in 3-2, blue in 1-0 (the instrument's colour depth). Level n shows
// as the 8-bit value 0, 64, 128 or 255; an 8-bit value read from a file
// takes the nearest level. In monochrome a pixel is dark when its three
// levels add up to 4 or less.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hvxsim {

struct screen_size {
    int width = 0;
    int height = 0;
};

struct screen_picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;  // rows from the top, one byte a pixel

    std::uint8_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// The display of the instrument a preset stands for: 512 by 272 for the
// WXE5 analyser, 320 by 240 for every other one.
screen_size screen_size_of(std::string_view instrument_key);

// The built-in picture: white, with a black frame two pixels wide, a black
// block in the top-left corner (24 by 16), the 64 colours as bars across
// the second quarter of the height, and thin diagonal stripes in the bottom
// quarter; nothing in it looks the same turned over or mirrored.
screen_picture test_picture(screen_size size);

bool pixel_is_dark(std::uint8_t pixel);
// The nearest level (0 to 3) of an 8-bit value, and back.
std::uint8_t level_of(std::uint8_t value);
std::uint8_t value_of_level(int level);

// Reads an uncompressed 24- or 32-bit bitmap file (rows bottom-up or
// top-down) of exactly the expected size. False with a message otherwise.
bool load_screen_picture(const std::string& path, screen_size expected, screen_picture& picture,
                         std::string& error);

// A 24-bit bottom-up bitmap file of the picture as the colour reply shows
// it, or with mono as the monochrome reply shows it (black and white).
std::string screen_bitmap_file(const screen_picture& picture, bool mono);

}  // namespace hvxsim
