// Decoding the value lists of instrument replies: comma-separated decimal
// text, or packed binary values of 5 bytes each (first byte 0x80 or above).
//
// Binary value, 5 bytes:
//   byte 0  bit 7 always set; bits 0-6 the power-of-two exponent as a 7-bit
//           two's-complement number
//   byte 1  bit 6 sign (set: negative); bit 5 set for every non-zero value
//           (the leading mantissa bit); bits 0-5 mantissa bits 19-14
//   byte 2  bits 0-6 mantissa bits 13-7
//   byte 3  bits 0-6 mantissa bits 6-0
//   byte 4  separator position, not read
//   value = +-(mantissa / 2^20) * 2^exponent
#include "graph/number_format.h"

#include "app/debug_output.h"
#include "graph/leading_number.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned char binary_list_mark = 0x80;
// Bytes 0 to 3 carry the value; the fifth (a separator) is never read, so a
// last value whose separator was the line end, dropped by the reader, still
// counts.
constexpr std::size_t binary_bytes_read = 4;
constexpr int mantissa_bits = 20;
constexpr std::size_t longest_strict_field = 11;
constexpr std::size_t shortest_strict_field = 8;
constexpr const char* invalid_double_message = "*** INVALID DOUBLE FOUND ***\n";

int binary_exponent(unsigned char first)
{
    const int exponent = first & 0x3F;
    return (first & 0x40) != 0 ? exponent - 64 : exponent;
}

int parse_binary_list(const unsigned char* bytes, std::size_t length, double* values, int max_count,
                      bool stop_at_line_feed)
{
    int count = 0;
    std::size_t position = 0;
    while (count < max_count && position < length && length - position >= binary_bytes_read) {
        const unsigned char first = bytes[position];
        if (first == '\0' || (stop_at_line_feed && first == '\n')) {
            break;
        }
        values[count++] = decode_binary_value(bytes + position);
        position += BINARY_VALUE_SIZE;
    }
    return count;
}

// The instrument's exponent form, such as 1.2345E+03: exactly one "." and 8 to
// 11 characters, not counting the line end that may close the last field.
bool looks_like_exponent_form(const char* begin, const char* end)
{
    while (end > begin && (end[-1] == '\n' || end[-1] == '\r')) {
        --end;
    }
    const auto length = static_cast<std::size_t>(end - begin);
    return length >= shortest_strict_field && length <= longest_strict_field &&
           std::count(begin, end, '.') == 1;
}

int parse_text_list(const char* text, std::size_t length, double* values, int max_count, bool strict)
{
    // The text ends at its terminator or at length, whichever comes first.
    const char* const end = std::find(text, text + length, '\0');
    if (end == text) {
        return 0;  // an empty reply holds no values
    }
    int count = 0;
    const char* field = text;
    while (count < max_count) {
        const char* const comma = std::find(field, end, ',');
        if (strict && !looks_like_exponent_form(field, comma)) {
            debug_output(invalid_double_message);
            break;
        }
        values[count++] = leading_number(field, comma);
        if (comma == end) {
            break;
        }
        field = comma + 1;
    }
    return count;
}

int parse_list(const char* reply, std::size_t length, double* values, int max_count, bool strict)
{
    if (reply == nullptr || values == nullptr || length == 0 || max_count <= 0) {
        return 0;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(reply);
    if (bytes[0] >= binary_list_mark) {
        return parse_binary_list(bytes, length, values, max_count, strict);
    }
    return parse_text_list(reply, length, values, max_count, strict);
}

}  // namespace

double decode_binary_value(const unsigned char* bytes, char* text, std::size_t text_size)
{
    double value = 0;
    if (bytes != nullptr && (bytes[1] & 0x20) != 0) {
        const long mantissa = (static_cast<long>(bytes[1] & 0x3F) << 14) |
                              (static_cast<long>(bytes[2] & 0x7F) << 7) |
                              static_cast<long>(bytes[3] & 0x7F);
        value = std::ldexp(static_cast<double>(mantissa), binary_exponent(bytes[0]) - mantissa_bits);
        if ((bytes[1] & 0x40) != 0) {
            value = -value;
        }
    }
    if (text != nullptr && text_size > 0) {
        format_exp_compact(text, text_size, value, 5);
    }
    return value;
}

int parse_value_list(const char* reply, std::size_t length, double* values, int max_count)
{
    return parse_list(reply, length, values, max_count, false);
}

int parse_value_list_strict(const char* reply, std::size_t length, double* values, int max_count)
{
    return parse_list(reply, length, values, max_count, true);
}
