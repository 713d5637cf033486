#include "capture/screen_capture.h"

#include <cstring>

#include "app/path_text.h"
#include "app/settings_environment.h"
#include "link/connection.h"

namespace {

struct screen_size_row {
    int instrument_type;
    s_screen_size size;
};

constexpr screen_size_row large_screens[] = {
    {1, {512, 272}},
    {6, {512, 272}},
    {16, {512, 272}},
};
constexpr s_screen_size other_screens = {320, 240};

}  // namespace

bool capture_size_fits(const s_screen_capture& capture)
{
    return capture.width > 0 && capture.height > 0 && capture.width % 16 == 0 &&
           static_cast<std::size_t>(capture.width) * 3 * static_cast<std::size_t>(capture.height) <=
               CAPTURE_PIXEL_BYTES;
}

s_screen_capture& the_screen_capture()
{
    static s_screen_capture capture;
    return capture;
}

void clear_capture(s_screen_capture& capture)
{
    std::memset(capture.pixels, 0, sizeof capture.pixels);
    capture.width = 0;
    capture.height = 0;
    capture.valid = 0;
    capture.from_file = 0;
}

s_screen_size capture_screen_size(const s_connection& conn)
{
    if (!conn.connected) {
        return {};
    }
    for (const screen_size_row& row : large_screens) {
        if (row.instrument_type == conn.instrument_type) {
            return row.size;
        }
    }
    return other_screens;
}

std::string capture_colour_file_path()
{
    return path_join(platform_settings_environment().temporary_folder(), CAPTURE_COLOUR_FILE_NAME);
}

s_pixel_image capture_picture(const s_screen_capture& capture)
{
    if (!capture.valid || !capture_size_fits(capture)) {
        return {};
    }
    s_pixel_image picture = make_pixel_image(capture.width, capture.height);
    const std::size_t width = static_cast<std::size_t>(capture.width);
    for (int y = 0; y < capture.height; ++y) {
        std::uint8_t* out = &picture.bgr[picture.row_bytes() * static_cast<std::size_t>(y)];
        if (capture.from_file) {
            const int stored_row = capture.height - 1 - y;
            std::memcpy(out, &capture.pixels[3 * width * static_cast<std::size_t>(stored_row)], 3 * width);
            continue;
        }
        const std::uint8_t* bits = &capture.pixels[width / 8 * static_cast<std::size_t>(y)];
        for (std::size_t x = 0; x < width; ++x) {
            const bool white = (bits[x / 8] & (0x80 >> (x % 8))) != 0;
            std::memset(out + 3 * x, white ? 0xFF : 0x00, 3);
        }
    }
    return picture;
}
