// A picture as rows of 24-bit pixels in memory: what the graph renderer
// draws into, the screen capture decodes into, and the bitmap file writers
// and the picture rotation work on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct s_pixel_image {
    int width = 0;
    int height = 0;
    // Blue, green, red per pixel; width * 3 bytes a row, no padding; rows
    // from the top of the picture down.
    std::vector<std::uint8_t> bgr;

    std::size_t row_bytes() const { return static_cast<std::size_t>(width) * 3; }
    bool holds_its_pixels() const
    {
        return width >= 0 && height >= 0 && bgr.size() == row_bytes() * static_cast<std::size_t>(height);
    }
};

// A picture of width x height pixels of one colour (0x00BBGGRR); an empty
// picture when either size is 0 or below.
inline s_pixel_image make_pixel_image(int width, int height, std::uint32_t colour = 0x00FFFFFF)
{
    s_pixel_image image;
    if (width <= 0 || height <= 0) {
        return image;
    }
    image.width = width;
    image.height = height;
    image.bgr.resize(image.row_bytes() * static_cast<std::size_t>(height));
    for (std::size_t i = 0; i < image.bgr.size(); i += 3) {
        image.bgr[i] = static_cast<std::uint8_t>(colour >> 16);
        image.bgr[i + 1] = static_cast<std::uint8_t>(colour >> 8);
        image.bgr[i + 2] = static_cast<std::uint8_t>(colour);
    }
    return image;
}
