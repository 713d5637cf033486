// The bitmap files byte for byte (headers, row order, padding and sizes for
// widths 1 to 8 and odd heights), what the writers refuse and leave behind,
// and the picture rotation against plain quarter turns.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "graph/bmp_file.h"
#include "graph/pixel_image.h"
#include "support/temp_folder.h"

namespace {

using bytes = std::vector<std::uint8_t>;

std::uint32_t u32_at(const bytes& b, std::size_t at)
{
    return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}
std::uint16_t u16_at(const bytes& b, std::size_t at)
{
    return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

bytes file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool file_exists(const std::string& path)
{
    return std::ifstream(path).good();
}

// A picture whose every byte tells where it is: row y, column x, channel c
// holds 16 y + 3 x + c + 1 (never 0, so padding shows).
s_pixel_image numbered_picture(int width, int height)
{
    s_pixel_image p = make_pixel_image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < 3; ++c) {
                p.bgr[p.row_bytes() * y + 3 * x + c] = static_cast<std::uint8_t>(16 * y + 3 * x + c + 1);
            }
        }
    }
    return p;
}

// The rows a file should hold: picture rows in the order given, each padded
// with zeros to stride.
bytes padded_rows(const s_pixel_image& p, bool top_down, std::size_t stride)
{
    bytes out;
    for (int i = 0; i < p.height; ++i) {
        const int y = top_down ? i : p.height - 1 - i;
        const auto first = p.bgr.begin() + static_cast<std::ptrdiff_t>(p.row_bytes() * y);
        out.insert(out.end(), first, first + static_cast<std::ptrdiff_t>(p.row_bytes()));
        out.insert(out.end(), stride - p.row_bytes(), 0);
    }
    return out;
}

TEST(BmpFile, AOnePixelPictureIsExactlyTheseBytes)
{
    s_pixel_image p = make_pixel_image(1, 1, 0x00336699);  // red 0x99, green 0x66, blue 0x33
    const bytes expected = {
        'B', 'M', 58, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0,           // file header
        40, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0,         // size, width, height, planes, bits
        0, 0, 0, 0, 0, 0, 0, 0, 0xC4, 0x0E, 0, 0, 0xC4, 0x0E, 0, 0,  // compression, image size, 3780 ppm
        0, 0, 0, 0, 0, 0, 0, 0,                                   // colours used, important
        0x33, 0x66, 0x99, 0,                                      // blue, green, red, padding
    };
    EXPECT_EQ(bmp_24_file_bytes(p), expected);
}

// Every writer for widths 1 to 8 (each padding from 0 to 3 bytes) and odd
// heights: the header fields, the padded stride and the rows in order.
TEST(BmpFile, HeadersPaddingAndSizesForEveryWidthUpTo8)
{
    const std::size_t strides[] = {4, 8, 12, 12, 16, 20, 24, 24};  // 3 w rounded up to 4
    struct writer {
        const char* name;
        bool top_down;
        bool image_size_stored;
        bytes (*file)(const s_pixel_image&);
    };
    const writer writers[] = {
        {"write_bmp_24", false, false, bmp_24_file_bytes},
        {"write_bmp_bits", true, true, bmp_bits_file_bytes},
        {"write_bmp_raw", false, true,
         [](const s_pixel_image& p) {
             const bytes rows = padded_rows(p, false, bmp_row_stride(p.width, 24));
             return bmp_raw_file_bytes(p.width, p.height, rows.data(), rows.size());
         }},
    };
    for (const writer& w : writers) {
        for (int width = 1; width <= 8; ++width) {
            for (int height : {1, 3, 5}) {
                SCOPED_TRACE(std::string(w.name) + " " + std::to_string(width) + "x" + std::to_string(height));
                const std::size_t stride = strides[width - 1];
                ASSERT_EQ(bmp_row_stride(width, 24), stride);
                const s_pixel_image p = numbered_picture(width, height);
                const bytes b = w.file(p);
                const std::size_t image = stride * height;
                ASSERT_EQ(b.size(), 54 + image);
                EXPECT_EQ(b[0], 'B');
                EXPECT_EQ(b[1], 'M');
                EXPECT_EQ(u32_at(b, 2), 54 + image) << "file size";
                EXPECT_EQ(u32_at(b, 6), 0u) << "reserved";
                EXPECT_EQ(u32_at(b, 10), 54u) << "pixel offset";
                EXPECT_EQ(u32_at(b, 14), 40u);
                EXPECT_EQ(static_cast<std::int32_t>(u32_at(b, 18)), width);
                EXPECT_EQ(static_cast<std::int32_t>(u32_at(b, 22)), w.top_down ? -height : height);
                EXPECT_EQ(u16_at(b, 26), 1) << "planes";
                EXPECT_EQ(u16_at(b, 28), 24) << "bits";
                EXPECT_EQ(u32_at(b, 30), 0u) << "compression";
                EXPECT_EQ(u32_at(b, 34), w.image_size_stored ? image : 0u) << "image size";
                EXPECT_EQ(u32_at(b, 38), 3780u);
                EXPECT_EQ(u32_at(b, 42), 3780u);
                EXPECT_EQ(u32_at(b, 46), 0u);
                EXPECT_EQ(u32_at(b, 50), 0u);
                EXPECT_EQ(bytes(b.begin() + 54, b.end()), padded_rows(p, w.top_down, stride));
            }
        }
    }
}

TEST(BmpFile, RowStridesOfOtherBitCounts)
{
    struct stride_case {
        int width, bits;
        std::size_t stride;
    };
    const stride_case cases[] = {{1, 1, 4}, {32, 1, 4}, {33, 1, 8}, {320, 1, 40}, {7, 4, 4},
                                 {9, 4, 8}, {5, 8, 8}, {3, 32, 12}, {0, 24, 0}, {-1, 24, 0}};
    for (const stride_case& c : cases) {
        EXPECT_EQ(bmp_row_stride(c.width, c.bits), c.stride) << c.width << " pixels of " << c.bits << " bits";
    }
}

TEST(BmpFile, WhatCannotBeAPictureGivesNoBytes)
{
    s_pixel_image short_of_pixels = make_pixel_image(4, 3);
    short_of_pixels.bgr.pop_back();
    s_pixel_image negative;
    negative.width = -2;
    negative.height = -3;
    for (const s_pixel_image& p : {s_pixel_image{}, short_of_pixels, negative}) {
        EXPECT_TRUE(bmp_24_file_bytes(p).empty());
        EXPECT_TRUE(bmp_bits_file_bytes(p).empty());
    }
    const bytes rows(12 * 3, 0);  // 3 rows of 4 pixels
    EXPECT_FALSE(bmp_raw_file_bytes(4, 3, rows.data(), rows.size()).empty());
    EXPECT_TRUE(bmp_raw_file_bytes(4, 3, rows.data(), rows.size() - 1).empty()) << "a short byte count";
    EXPECT_TRUE(bmp_raw_file_bytes(4, 2, rows.data(), rows.size()).empty()) << "a long byte count";
    EXPECT_TRUE(bmp_raw_file_bytes(0, 0, rows.data(), 0).empty());
    EXPECT_TRUE(bmp_raw_file_bytes(4, 3, nullptr, rows.size()).empty());
    EXPECT_TRUE(bmp_raw_file_bytes(0x7FFFFFFF, 0x7FFFFFFF, rows.data(), rows.size()).empty()) << "over 4 GiB";
}

TEST(BmpFile, WritersReplaceAFileAndLeaveNothingWhenTheyFail)
{
    temp_folder folder;
    const s_pixel_image p = numbered_picture(3, 3);
    const std::string path = folder.file("graph.bmp");
    {
        std::ofstream old(path, std::ios::binary);
        old << std::string(1000, 'x');
    }
    ASSERT_TRUE(write_bmp_24(path, p));
    EXPECT_EQ(file_bytes(path), bmp_24_file_bytes(p));

    const bytes rows = padded_rows(p, false, 12);
    const std::string raw = folder.file("dlcap.bmp");
    ASSERT_TRUE(write_bmp_raw(raw, 3, 3, rows.data(), rows.size()));
    EXPECT_EQ(file_bytes(raw), bmp_raw_file_bytes(3, 3, rows.data(), rows.size()));

    const std::string refused = folder.file("empty.bmp");
    EXPECT_FALSE(write_bmp_24(refused, s_pixel_image{}));
    EXPECT_FALSE(write_bmp_raw(refused, 3, 3, rows.data(), rows.size() - 1));
    EXPECT_FALSE(file_exists(refused));
    EXPECT_FALSE(write_bmp_24(folder.file("missing") + "/graph.bmp", p)) << "write_bmp_24 makes no folders";
}

TEST(BmpFile, TheReportWriterMakesTheFoldersOfItsPath)
{
    temp_folder folder;
    const s_pixel_image p = numbered_picture(5, 3);
    const std::string path = folder.file("ZVR") + "/Corvexa2/eis_graph.bmp";
    ASSERT_TRUE(write_bmp_bits(path, p));
    EXPECT_EQ(file_bytes(path), bmp_bits_file_bytes(p));
    EXPECT_TRUE(write_bmp_bits(path, p)) << "again, with the folders there";
}

// The quarter turns as plain index arithmetic, clockwise.
s_pixel_image reference_turn(const s_pixel_image& p, int quarters)
{
    const bool swapped = quarters % 2 == 1;
    s_pixel_image out = make_pixel_image(swapped ? p.height : p.width, swapped ? p.width : p.height, 0);
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            int sx = x, sy = y;
            if (quarters == 1) {
                sx = y, sy = p.height - 1 - x;
            } else if (quarters == 2) {
                sx = p.width - 1 - x, sy = p.height - 1 - y;
            } else if (quarters == 3) {
                sx = p.width - 1 - y, sy = x;
            }
            for (int c = 0; c < 3; ++c) {
                out.bgr[out.row_bytes() * y + 3 * x + c] = p.bgr[p.row_bytes() * sy + 3 * sx + c];
            }
        }
    }
    return out;
}

// The angles the program turns by, on small pictures of every shape and on
// a report page's picture (run under AddressSanitizer: no write outside the
// new picture).
TEST(BmpFile, RotationByTheProgramsAnglesMatchesPlainQuarterTurns)
{
    struct size_case {
        int width, height;
    };
    const size_case sizes[] = {{1, 1}, {1, 5}, {5, 1}, {2, 3}, {3, 2}, {8, 5}, {7, 7}, {1009, 611}};
    for (const size_case& size : sizes) {
        const s_pixel_image p = numbered_picture(size.width, size.height);
        for (int quarters = 0; quarters <= 3; ++quarters) {
            SCOPED_TRACE(std::to_string(size.width) + "x" + std::to_string(size.height) + " by " +
                         std::to_string(90 * quarters));
            const s_pixel_image turned = rotate_bitmap(p, 90.0 * quarters);
            const s_pixel_image expected = reference_turn(p, quarters);
            ASSERT_EQ(turned.width, expected.width);
            ASSERT_EQ(turned.height, expected.height);
            ASSERT_TRUE(turned.holds_its_pixels());
            EXPECT_TRUE(turned.bgr == expected.bgr);
        }
    }
}

TEST(BmpFile, AnOddAngleGivesTheBoundingBoxWithBlackCorners)
{
    const s_pixel_image p = make_pixel_image(100, 100, 0x00FFFFFF);
    const s_pixel_image turned = rotate_bitmap(p, 45);
    EXPECT_EQ(turned.width, 141);
    EXPECT_EQ(turned.height, 141);
    ASSERT_TRUE(turned.holds_its_pixels());
    EXPECT_EQ(turned.bgr[0], 0) << "the top-left corner came from outside";
    const std::size_t centre = turned.row_bytes() * 70 + 3 * 70;
    EXPECT_EQ(turned.bgr[centre], 0xFF);

    EXPECT_EQ(rotate_bitmap(s_pixel_image{}, 270).width, 0);
    EXPECT_EQ(rotate_bitmap(p, std::numeric_limits<double>::quiet_NaN()).width, 0);
    EXPECT_EQ(rotate_bitmap(make_pixel_image(100000, 1), 45).width, 0) << "too many pixels";
}

}  // namespace
