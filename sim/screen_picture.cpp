#include "sim/screen_picture.h"

#include <fstream>
#include <iterator>

namespace hvxsim {

namespace {

struct screen_row {
    std::string_view instrument_key;
    screen_size size;
};

constexpr screen_row large_screens[] = {
    {"wxe5", {512, 272}},
};
constexpr screen_size usual_screen = {320, 240};

constexpr std::uint8_t white = 0x3F;
constexpr std::uint8_t black = 0x00;
constexpr int frame_width = 2;
constexpr int corner_block_width = 24;
constexpr int corner_block_height = 16;
constexpr int colours = 64;
constexpr int stripe_period = 7;

constexpr std::size_t file_header_bytes = 14;
constexpr std::size_t info_header_bytes = 40;

std::uint32_t u32_at(const std::string& b, std::size_t at)
{
    auto byte = [&](std::size_t i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

std::uint16_t u16_at(const std::string& b, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}

void put_u16(std::string& out, std::uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void put_u32(std::string& out, std::uint32_t v)
{
    put_u16(out, v & 0xFFFF);
    put_u16(out, v >> 16);
}

std::size_t stride_of(int width, int bits)
{
    return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bits) + 31) / 32 * 4;
}

}  // namespace

screen_size screen_size_of(std::string_view instrument_key)
{
    for (const screen_row& row : large_screens) {
        if (row.instrument_key == instrument_key)
            return row.size;
    }
    return usual_screen;
}

screen_picture test_picture(screen_size size)
{
    screen_picture p{size.width, size.height,
                     std::vector<std::uint8_t>(static_cast<std::size_t>(size.width) * size.height, white)};
    for (int y = 0; y < p.height; ++y) {
        for (int x = 0; x < p.width; ++x) {
            std::uint8_t& pixel = p.pixels[static_cast<std::size_t>(y) * p.width + x];
            const bool frame = x < frame_width || y < frame_width || x >= p.width - frame_width ||
                               y >= p.height - frame_width;
            const bool corner = x < corner_block_width && y < corner_block_height;
            const bool bars = y >= p.height / 4 && y < p.height / 2;
            const bool stripes = y >= p.height * 3 / 4;
            if (frame || corner) {
                pixel = black;
            } else if (bars) {
                pixel = static_cast<std::uint8_t>(x * colours / p.width);
            } else if (stripes && (x + y) % stripe_period == 0) {
                pixel = black;
            }
        }
    }
    return p;
}

bool pixel_is_dark(std::uint8_t pixel)
{
    return ((pixel >> 4) & 3) + ((pixel >> 2) & 3) + (pixel & 3) <= 4;
}

std::uint8_t level_of(std::uint8_t value)
{
    return value < 32 ? 0 : value < 96 ? 1 : value < 192 ? 2 : 3;
}

std::uint8_t value_of_level(int level)
{
    static constexpr std::uint8_t values[4] = {0, 64, 128, 255};
    return values[level & 3];
}

bool load_screen_picture(const std::string& path, screen_size expected, screen_picture& picture, std::string& error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read \"" + path + "\"";
        return false;
    }
    const std::string b((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (b.size() < file_header_bytes + info_header_bytes || b[0] != 'B' || b[1] != 'M' ||
        u32_at(b, 14) < info_header_bytes) {
        error = "\"" + path + "\" is not a bitmap file";
        return false;
    }
    const std::uint32_t offset = u32_at(b, 10);
    const auto width = static_cast<std::int32_t>(u32_at(b, 18));
    const auto stored_height = static_cast<std::int32_t>(u32_at(b, 22));
    const int bits = u16_at(b, 28);
    const std::uint32_t compression = u32_at(b, 30);
    if ((bits != 24 && bits != 32) || compression != 0) {
        error = "\"" + path + "\": only uncompressed 24- or 32-bit bitmaps are read (this one has " +
                std::to_string(bits) + " bits a pixel, compression " + std::to_string(compression) + ")";
        return false;
    }
    const bool top_down = stored_height < 0;
    const std::int64_t height = top_down ? -static_cast<std::int64_t>(stored_height) : stored_height;
    if (width != expected.width || height != expected.height) {
        error = "\"" + path + "\" is " + std::to_string(width) + "x" + std::to_string(height) +
                " pixels; the instrument's screen is " + std::to_string(expected.width) + "x" +
                std::to_string(expected.height);
        return false;
    }
    const std::size_t stride = stride_of(width, bits);
    if (offset > b.size() || b.size() - offset < stride * static_cast<std::size_t>(height)) {
        error = "\"" + path + "\" ends before its last pixel row";
        return false;
    }
    picture = screen_picture{width, static_cast<int>(height),
                             std::vector<std::uint8_t>(static_cast<std::size_t>(width) * height)};
    const std::size_t bytes_per_pixel = static_cast<std::size_t>(bits) / 8;
    for (int y = 0; y < picture.height; ++y) {
        const int stored_row = top_down ? y : picture.height - 1 - y;
        const std::size_t row = offset + stride * static_cast<std::size_t>(stored_row);
        for (int x = 0; x < width; ++x) {
            const std::size_t at = row + bytes_per_pixel * static_cast<std::size_t>(x);
            const auto blue = static_cast<std::uint8_t>(b[at]);
            const auto green = static_cast<std::uint8_t>(b[at + 1]);
            const auto red = static_cast<std::uint8_t>(b[at + 2]);
            picture.pixels[static_cast<std::size_t>(y) * width + x] =
                static_cast<std::uint8_t>(level_of(red) << 4 | level_of(green) << 2 | level_of(blue));
        }
    }
    return true;
}

std::string screen_bitmap_file(const screen_picture& picture, bool mono)
{
    const std::size_t stride = stride_of(picture.width, 24);
    const std::size_t image = stride * static_cast<std::size_t>(picture.height);
    std::string out = "BM";
    put_u32(out, static_cast<std::uint32_t>(file_header_bytes + info_header_bytes + image));
    put_u32(out, 0);
    put_u32(out, static_cast<std::uint32_t>(file_header_bytes + info_header_bytes));
    put_u32(out, static_cast<std::uint32_t>(info_header_bytes));
    put_u32(out, static_cast<std::uint32_t>(picture.width));
    put_u32(out, static_cast<std::uint32_t>(picture.height));
    put_u16(out, 1);
    put_u16(out, 24);
    for (int i = 0; i < 6; ++i)
        put_u32(out, 0);  // no compression, image size, resolution, colour table
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint8_t pixel = picture.at(x, y);
            if (mono) {
                out.append(3, static_cast<char>(pixel_is_dark(pixel) ? 0 : 255));
                continue;
            }
            out += static_cast<char>(value_of_level(pixel));
            out += static_cast<char>(value_of_level(pixel >> 2));
            out += static_cast<char>(value_of_level(pixel >> 4));
        }
        out.append(stride - 3 * static_cast<std::size_t>(picture.width), '\0');
    }
    return out;
}

}  // namespace hvxsim
