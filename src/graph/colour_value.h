// Colour values as the graphs hold them: 0x00BBGGRR, red in the low byte.
#pragma once

#include <cstdint>

constexpr std::uint32_t rgb_colour(int red, int green, int blue)
{
    return static_cast<std::uint32_t>(red) | (static_cast<std::uint32_t>(green) << 8) |
           (static_cast<std::uint32_t>(blue) << 16);
}

inline constexpr std::uint32_t COLOUR_BLACK = rgb_colour(0, 0, 0);
inline constexpr std::uint32_t COLOUR_WHITE = rgb_colour(255, 255, 255);
