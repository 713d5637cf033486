// Packs values the way the instrument sends them (5 bytes each), for test
// fixtures: bit 7 of bytes 1-3 set and ',' as the fifth byte, so no CR, LF or
// NUL appears inside a value.
#pragma once

#include <cmath>
#include <string>

inline std::string binary_value(double value)
{
    std::string bytes(5, '\0');
    if (value == 0.0) {
        bytes[0] = static_cast<char>(0x80);
        bytes[1] = static_cast<char>(0x80);
        bytes[2] = static_cast<char>(0x80);
        bytes[3] = static_cast<char>(0x80);
        bytes[4] = ',';
        return bytes;
    }
    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // [0.5, 1)
    const long mantissa = std::lround(fraction * 1048576.0);
    bytes[0] = static_cast<char>(0x80 | (exponent & 0x7F));
    bytes[1] = static_cast<char>(0x80 | (value < 0 ? 0x40 : 0) | ((mantissa >> 14) & 0x3F));
    bytes[2] = static_cast<char>(0x80 | ((mantissa >> 7) & 0x7F));
    bytes[3] = static_cast<char>(0x80 | (mantissa & 0x7F));
    bytes[4] = ',';
    return bytes;
}
