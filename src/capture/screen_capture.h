// The instrument's screen as the capture view holds it: one record for the
// program's life, cleared at the start of every download, and what the
// record's pixels mean.
//
// A monochrome capture keeps 1 bit a pixel, rows of width / 8 bytes from the
// top row down, the leftmost pixel in the most significant bit and a set bit
// for a white pixel. A colour capture keeps blue, green and red bytes a
// pixel, rows of 3 x width bytes from the bottom row up (the layout of the
// colour picture's file, "dlcap.bmp" in the temporary folder, from which the
// view shows it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "graph/pixel_image.h"

struct s_connection;

inline constexpr std::size_t CAPTURE_PIXEL_BYTES = 557056;  // 512 x 272 x 4
inline constexpr const char* CAPTURE_COLOUR_FILE_NAME = "dlcap.bmp";

struct s_screen_capture {
    std::uint8_t pixels[CAPTURE_PIXEL_BYTES] = {};
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::uint8_t valid = 0;      // a download completed without error
    std::uint8_t from_file = 0;  // a colour picture, shown from its file
};

// The capture view's capture.
s_screen_capture& the_screen_capture();

void clear_capture(s_screen_capture& capture);

struct s_screen_size {
    int width = 0;
    int height = 0;
};

// The connected instrument's screen: 512 by 272 for types 1, 6 and 16, 320
// by 240 for every other type; 0 by 0 while no instrument is connected.
s_screen_size capture_screen_size(const s_connection& conn);

// "dlcap.bmp" in the user's temporary folder.
std::string capture_colour_file_path();

// True when the capture's size is one the record can hold in either form
// (a width of whole bytes, monochrome rows of whole 16-bit words).
bool capture_size_fits(const s_screen_capture& capture);

// The capture as a picture: white and black for a monochrome capture, the
// colours upright for a colour one. Empty unless the capture is valid and
// its size fits the record.
s_pixel_image capture_picture(const s_screen_capture& capture);
