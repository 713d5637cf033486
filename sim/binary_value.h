// The instrument's packed binary number, 5 bytes per value:
//
//   byte 0  bit 7 set; bits 0-6 the power-of-two exponent e, 7-bit two's
//           complement (-64 to 63)
//   byte 1  bit 6 sign of the mantissa (set: negative); bit 5 set for every
//           non-zero value (it is mantissa bit 19, the leading bit);
//           bits 0-5 mantissa bits 19-14
//   byte 2  bits 0-6 mantissa bits 13-7
//   byte 3  bits 0-6 mantissa bits 6-0
//   byte 4  separator
//
//   value = +-(mantissa / 2^20) * 2^e, so a non-zero magnitude is 0.5 to
//   just under 1 times 2^e. Zero has bit 5 of byte 1 clear.
//
// Readers ignore bit 7 of bytes 1-3, so the simulator sets it and uses ','
// as the separator: no CR, LF or NUL can then appear inside a value, and a
// reply of values stays one line.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace hvxsim {

using binary_value = std::array<unsigned char, 5>;

// Rounds to the nearest 20-bit mantissa. Magnitudes too large for exponent
// 63 saturate at the largest value of that sign (infinities too); magnitudes
// too small for exponent -64 and NaN encode as zero.
binary_value encode_binary_value(double value);

// The values packed one after another, without a line end.
std::string encode_binary_values(const std::vector<double>& values);

}  // namespace hvxsim
