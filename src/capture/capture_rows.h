// The instrument's screen reply lines, decoded. The first two characters of
// every line carry no pixels and are skipped.
//
// Monochrome: one line a pixel row, from the top; after the two skipped
// characters, width / 8 bytes as two hexadecimal digits each (0-9, A-F or
// a-f). In each byte the leftmost pixel is the least significant bit and a
// set bit is a dark pixel; stored, the byte is reversed and inverted, so
// that the leftmost pixel is the most significant bit and a set bit white.
//
// Colour: four lines a pixel row, from the top, each line width / 4
// characters of one pixel each: bits 5-4 the red level, 3-2 green, 1-0
// blue, each level 0 to 3 becoming 0, 64, 128 or 255.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int CAPTURE_SKIPPED_CHARACTERS = 2;
inline constexpr int CAPTURE_LINES_PER_COLOUR_ROW = 4;
inline constexpr std::uint8_t CAPTURE_COLOUR_LEVELS[4] = {0, 64, 128, 255};

// The reply line without a line feed that ends it (a serial line keeps its
// bare LF in the text): the characters that carry the row.
int capture_line_length(const char* line, int length);

// One monochrome line of `length` characters into bytes_per_row stored
// bytes. False, with row untouched past what was decoded, when the line is
// shorter than 2 + 2 x bytes_per_row characters or holds a character that
// is no hexadecimal digit where a byte is expected; characters after the
// row's bytes are not looked at.
bool decode_mono_row(const char* line, int length, int bytes_per_row, std::uint8_t* row);

// A stored monochrome byte from the byte the instrument sent.
std::uint8_t mono_stored_byte(std::uint8_t sent);

// One colour line's pixel characters, exactly `pixels` of them after the
// two skipped ones, appended to raw. False (nothing appended) for a line
// with fewer; characters past them are not taken.
bool take_colour_line(const char* line, int length, int pixels, std::string& raw);

// One pixel character as blue, green and red bytes.
void colour_pixel(char character, std::uint8_t* bgr);

// The raw characters of a whole colour picture (width x height, rows from
// the top) into bottom-up rows of 3 x width bytes: raw row s becomes row
// height - 1 - s. raw must hold width x height characters and pixels room
// for 3 x width x height bytes.
void colour_rows_to_pixels(const std::string& raw, int width, int height, std::uint8_t* pixels);
