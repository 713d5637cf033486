#include "capture/capture_rows.h"

namespace {

// The value of a hexadecimal digit, -1 for any other character.
int hex_digit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

}  // namespace

int capture_line_length(const char* line, int length)
{
    return length > 0 && line[length - 1] == '\n' ? length - 1 : length;
}

std::uint8_t mono_stored_byte(std::uint8_t sent)
{
    std::uint8_t reversed = 0;
    for (int bit = 0; bit < 8; ++bit) {
        if ((sent & (1u << bit)) != 0) {
            reversed = static_cast<std::uint8_t>(reversed | (0x80u >> bit));
        }
    }
    return static_cast<std::uint8_t>(~reversed);
}

bool decode_mono_row(const char* line, int length, int bytes_per_row, std::uint8_t* row)
{
    if (length < CAPTURE_SKIPPED_CHARACTERS + 2 * bytes_per_row) {
        return false;
    }
    const char* digits = line + CAPTURE_SKIPPED_CHARACTERS;
    for (int i = 0; i < bytes_per_row; ++i) {
        const int high = hex_digit(digits[2 * i]);
        const int low = hex_digit(digits[2 * i + 1]);
        if (high < 0 || low < 0) {
            return false;
        }
        row[i] = mono_stored_byte(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool take_colour_line(const char* line, int length, int pixels, std::string& raw)
{
    if (pixels < 0 || length < CAPTURE_SKIPPED_CHARACTERS + pixels) {
        return false;
    }
    raw.append(line + CAPTURE_SKIPPED_CHARACTERS, static_cast<std::size_t>(pixels));
    return true;
}

void colour_pixel(char character, std::uint8_t* bgr)
{
    const unsigned bits = static_cast<unsigned char>(character);
    bgr[0] = CAPTURE_COLOUR_LEVELS[bits & 3];
    bgr[1] = CAPTURE_COLOUR_LEVELS[(bits >> 2) & 3];
    bgr[2] = CAPTURE_COLOUR_LEVELS[(bits >> 4) & 3];
}

void colour_rows_to_pixels(const std::string& raw, int width, int height, std::uint8_t* pixels)
{
    const std::size_t w = static_cast<std::size_t>(width);
    for (int s = 0; s < height; ++s) {
        std::uint8_t* out = pixels + 3 * w * static_cast<std::size_t>(height - 1 - s);
        for (std::size_t x = 0; x < w; ++x) {
            colour_pixel(raw[w * static_cast<std::size_t>(s) + x], out + 3 * x);
        }
    }
}
