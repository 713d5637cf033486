// The bitmap files the program writes, byte for byte, and the rotation of a
// picture for the report pages.
//
// Every file has the same 54 bytes of headers: the 14-byte file header
// ("BM", the file size, two reserved words of 0, the offset of the pixels,
// 54) and the 40-byte information header (width, height, 1 plane, 24 bits
// per pixel, no compression, the image size, 3780 by 3780 pixels per metre,
// no colour table). Pixel rows are blue, green, red per pixel, each row
// padded with zeros to a multiple of 4 bytes. Numbers are little-endian.
//
//   write_bmp_24    graph pictures: bottom-up rows (positive height), the
//                   image size left 0 in the information header
//   write_bmp_bits  report pictures: top-down rows (negative height), the
//                   image size stored; the path's folders are made first
//   write_bmp_raw   the screen capture's colour picture: rows the caller
//                   has already laid out bottom-up and padded (positive
//                   height), the caller's byte count as the image size
//
// A writer that fails leaves no file behind; a picture that cannot be
// written (no pixels, sizes that do not match its bytes, a file over 4 GiB)
// writes nothing. The *_file_bytes functions give the whole file in memory,
// empty for what the writers refuse.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "graph/pixel_image.h"

inline constexpr std::size_t BMP_FILE_HEADER_SIZE = 14;
inline constexpr std::size_t BMP_INFO_HEADER_SIZE = 40;
inline constexpr std::size_t BMP_HEADERS_SIZE = BMP_FILE_HEADER_SIZE + BMP_INFO_HEADER_SIZE;
inline constexpr std::int32_t BMP_PIXELS_PER_METRE = 3780;  // 96 dots per inch

// Bytes of one stored row of width pixels at bits_per_pixel, padded to a
// multiple of 4: ((bits_per_pixel x width + 31) / 32) x 4. 0 for a width or
// bit count of 0 or below.
std::size_t bmp_row_stride(int width, int bits_per_pixel);

std::vector<std::uint8_t> bmp_24_file_bytes(const s_pixel_image& picture);
std::vector<std::uint8_t> bmp_bits_file_bytes(const s_pixel_image& picture);
// byte_count must be height x bmp_row_stride(width, 24): rows of another
// length cannot make a picture of that size.
std::vector<std::uint8_t> bmp_raw_file_bytes(int width, int height, const std::uint8_t* bottom_up_padded_rows,
                                             std::size_t byte_count);

// Each creates the file anew (replacing one that exists) and returns
// whether every byte was written.
bool write_bmp_24(const std::string& path, const s_pixel_image& picture);
bool write_bmp_bits(const std::string& path, const s_pixel_image& picture);
bool write_bmp_raw(const std::string& path, int width, int height, const std::uint8_t* bottom_up_padded_rows,
                   std::size_t byte_count);

// The picture turned by degrees, clockwise as it is seen (x to the right,
// y downwards), with the angle taken in radians as degrees x 6.2832 / 360.
// The new picture is the bounding box of the turned one, each side rounded
// to the nearest pixel; each of its pixels takes the source pixel nearest
// to where it came from, and pixels that came from outside the source stay
// black. An empty picture for one that does not hold its pixels, or when
// the turned picture would exceed 2^26 pixels.
s_pixel_image rotate_bitmap(const s_pixel_image& picture, double degrees);
