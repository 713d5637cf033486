#include "graph/bmp_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

#include "app/path_text.h"
#include "app/settings_environment.h"
#include "app/text_encoding.h"
#include "app/text_file.h"

namespace {

constexpr int BITS_24 = 24;
constexpr double TURN_RADIANS = 6.2832;  // the program's own value of two pi
constexpr double TURN_DEGREES = 360;
// The most pixels a turned picture may have (a report page's picture has
// well under a million): a thin picture turned by an odd angle could ask
// for more memory than there is.
constexpr double TURNED_PIXELS_LIMIT = 1 << 26;

enum class row_order { bottom_up, top_down };

// The image size field: 0 in the graph pictures, the image's bytes elsewhere.
enum class image_size_field { zero, stored };

void put_u16(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put_u32(std::vector<std::uint8_t>& out, std::uint32_t value)
{
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

// The 54 header bytes of a 24-bit picture; the caller has checked that the
// file's size fits 32 bits.
void put_headers(std::vector<std::uint8_t>& out, int width, int height, std::size_t image_bytes,
                 image_size_field size_field)
{
    out.push_back('B');
    out.push_back('M');
    put_u32(out, static_cast<std::uint32_t>(BMP_HEADERS_SIZE + image_bytes));
    put_u16(out, 0);
    put_u16(out, 0);
    put_u32(out, static_cast<std::uint32_t>(BMP_HEADERS_SIZE));

    put_u32(out, static_cast<std::uint32_t>(BMP_INFO_HEADER_SIZE));
    put_u32(out, static_cast<std::uint32_t>(width));
    put_u32(out, static_cast<std::uint32_t>(height));  // two's complement for a top-down picture
    put_u16(out, 1);
    put_u16(out, BITS_24);
    put_u32(out, 0);  // no compression
    put_u32(out, size_field == image_size_field::stored ? static_cast<std::uint32_t>(image_bytes) : 0);
    put_u32(out, BMP_PIXELS_PER_METRE);
    put_u32(out, BMP_PIXELS_PER_METRE);
    put_u32(out, 0);  // colours used
    put_u32(out, 0);  // colours important
}

// The image's bytes when a file of that picture can be written: sizes from
// 1, and the whole file within 32 bits. 0 otherwise.
std::size_t writable_image_bytes(int width, int height)
{
    if (width <= 0 || height <= 0) {
        return 0;
    }
    const std::size_t stride = bmp_row_stride(width, BITS_24);
    const std::size_t limit = std::numeric_limits<std::uint32_t>::max() - BMP_HEADERS_SIZE;
    if (stride == 0 || stride > limit / static_cast<std::size_t>(height)) {
        return 0;
    }
    return stride * static_cast<std::size_t>(height);
}

std::vector<std::uint8_t> picture_file_bytes(const s_pixel_image& picture, row_order order,
                                             image_size_field size_field)
{
    if (!picture.holds_its_pixels()) {
        return {};
    }
    const std::size_t image_bytes = writable_image_bytes(picture.width, picture.height);
    if (image_bytes == 0) {
        return {};
    }
    std::vector<std::uint8_t> out;
    out.reserve(BMP_HEADERS_SIZE + image_bytes);
    const int height = order == row_order::top_down ? -picture.height : picture.height;
    put_headers(out, picture.width, height, image_bytes, size_field);
    const std::size_t row_bytes = picture.row_bytes();
    const std::size_t padding = bmp_row_stride(picture.width, BITS_24) - row_bytes;
    for (int i = 0; i < picture.height; ++i) {
        const int row = order == row_order::top_down ? i : picture.height - 1 - i;
        const auto first = picture.bgr.begin() + static_cast<std::ptrdiff_t>(row_bytes * static_cast<std::size_t>(row));
        out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(row_bytes));
        out.insert(out.end(), padding, 0);
    }
    return out;
}

// The file made anew with exactly these bytes; on any failure (nothing to
// write included) no file is left.
bool write_file_bytes(const std::string& path, const std::vector<std::uint8_t>& bytes)
{
    if (bytes.empty()) {
        return false;
    }
    std::FILE* file = open_program_file(path, "wb");
    if (!file) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed) {
        return true;
    }
    std::remove(system_path(path).c_str());
    return false;
}

}  // namespace

std::size_t bmp_row_stride(int width, int bits_per_pixel)
{
    if (width <= 0 || bits_per_pixel <= 0) {
        return 0;
    }
    const std::uint64_t bits = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bits_per_pixel);
    return static_cast<std::size_t>((bits + 31) / 32 * 4);
}

std::vector<std::uint8_t> bmp_24_file_bytes(const s_pixel_image& picture)
{
    return picture_file_bytes(picture, row_order::bottom_up, image_size_field::zero);
}

std::vector<std::uint8_t> bmp_bits_file_bytes(const s_pixel_image& picture)
{
    return picture_file_bytes(picture, row_order::top_down, image_size_field::stored);
}

std::vector<std::uint8_t> bmp_raw_file_bytes(int width, int height, const std::uint8_t* bottom_up_padded_rows,
                                             std::size_t byte_count)
{
    const std::size_t image_bytes = writable_image_bytes(width, height);
    if (image_bytes == 0 || byte_count != image_bytes || bottom_up_padded_rows == nullptr) {
        return {};
    }
    std::vector<std::uint8_t> out;
    out.reserve(BMP_HEADERS_SIZE + image_bytes);
    put_headers(out, width, height, image_bytes, image_size_field::stored);
    out.insert(out.end(), bottom_up_padded_rows, bottom_up_padded_rows + byte_count);
    return out;
}

bool write_bmp_24(const std::string& path, const s_pixel_image& picture)
{
    return write_file_bytes(path, bmp_24_file_bytes(picture));
}

bool write_bmp_bits(const std::string& path, const s_pixel_image& picture)
{
    const std::vector<std::uint8_t> bytes = bmp_bits_file_bytes(picture);
    if (bytes.empty()) {
        return false;
    }
    settings_environment& system = platform_settings_environment();
    for (const std::string& folder : path_parent_folders(path)) {
        system.make_directory(folder);
    }
    return write_file_bytes(path, bytes);
}

bool write_bmp_raw(const std::string& path, int width, int height, const std::uint8_t* bottom_up_padded_rows,
                   std::size_t byte_count)
{
    return write_file_bytes(path, bmp_raw_file_bytes(width, height, bottom_up_padded_rows, byte_count));
}

s_pixel_image rotate_bitmap(const s_pixel_image& picture, double degrees)
{
    if (!picture.holds_its_pixels() || picture.width == 0 || picture.height == 0 || !std::isfinite(degrees)) {
        return {};
    }
    const double radians = degrees * TURN_RADIANS / TURN_DEGREES;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    const double w = picture.width;
    const double h = picture.height;
    const long new_width = std::lround(std::fabs(w * c) + std::fabs(h * s));
    const long new_height = std::lround(std::fabs(w * s) + std::fabs(h * c));
    if (static_cast<double>(new_width) * static_cast<double>(new_height) > TURNED_PIXELS_LIMIT) {
        return {};
    }
    s_pixel_image turned = make_pixel_image(static_cast<int>(new_width), static_cast<int>(new_height), 0);
    // Each destination pixel's centre, turned back about the centres of
    // both pictures, lands in the source pixel it takes.
    const double half_new_width = static_cast<double>(new_width) / 2;
    const double half_new_height = static_cast<double>(new_height) / 2;
    for (int y = 0; y < turned.height; ++y) {
        const double dy = y + 0.5 - half_new_height;
        for (int x = 0; x < turned.width; ++x) {
            const double dx = x + 0.5 - half_new_width;
            const double sx = std::floor(dx * c + dy * s + w / 2);
            const double sy = std::floor(-dx * s + dy * c + h / 2);
            if (sx < 0 || sy < 0 || sx >= w || sy >= h) {
                continue;
            }
            const std::size_t from = picture.row_bytes() * static_cast<std::size_t>(sy) + 3 * static_cast<std::size_t>(sx);
            const std::size_t to = turned.row_bytes() * static_cast<std::size_t>(y) + 3 * static_cast<std::size_t>(x);
            std::memcpy(&turned.bgr[to], &picture.bgr[from], 3);
        }
    }
    return turned;
}
