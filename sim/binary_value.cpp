#include "sim/binary_value.h"

#include <cmath>

namespace hvxsim {

namespace {

constexpr unsigned char marker_bit = 0x80;   // byte 0 always; bytes 1-3 by choice
constexpr unsigned char sign_bit = 0x40;     // byte 1
constexpr int mantissa_bits = 20;
constexpr long mantissa_full = 1L << mantissa_bits;  // 2^20
constexpr int exponent_min = -64;
constexpr int exponent_max = 63;
constexpr unsigned char separator = ',';

binary_value pack(bool negative, int exponent, long mantissa)
{
    return {
        static_cast<unsigned char>(marker_bit | (static_cast<unsigned>(exponent) & 0x7F)),
        static_cast<unsigned char>(marker_bit | (negative ? sign_bit : 0) | ((mantissa >> 14) & 0x3F)),
        static_cast<unsigned char>(marker_bit | ((mantissa >> 7) & 0x7F)),
        static_cast<unsigned char>(marker_bit | (mantissa & 0x7F)),
        separator,
    };
}

}  // namespace

binary_value encode_binary_value(double value)
{
    if (value == 0.0 || std::isnan(value))
        return pack(false, 0, 0);
    const bool negative = std::signbit(value);
    if (std::isinf(value))
        return pack(negative, exponent_max, mantissa_full - 1);

    int exponent = 0;
    const double fraction = std::frexp(std::fabs(value), &exponent);  // 0.5 <= fraction < 1
    long mantissa = std::lround(std::ldexp(fraction, mantissa_bits));
    if (mantissa == mantissa_full) {  // rounded up to 1.0: renormalise
        mantissa = mantissa_full / 2;
        ++exponent;
    }
    if (exponent > exponent_max)
        return pack(negative, exponent_max, mantissa_full - 1);
    if (exponent < exponent_min)
        return pack(false, 0, 0);
    return pack(negative, exponent, mantissa);
}

std::string encode_binary_values(const std::vector<double>& values)
{
    std::string out;
    out.reserve(values.size() * 5);
    for (double v : values) {
        const binary_value packed = encode_binary_value(v);
        out.append(reinterpret_cast<const char*>(packed.data()), packed.size());
    }
    return out;
}

}  // namespace hvxsim
