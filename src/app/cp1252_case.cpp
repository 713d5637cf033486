#include "app/cp1252_case.h"

#include <array>
#include <cstddef>

namespace {

// The upper-case letters of the code page and the distance to their lower
// case: A-Z and the accented capitals move by 0x20 (the multiplication sign
// between them does not), the four capitals of the 0x80 row by 0x10, and the
// capital Y with diaeresis to 0xFF.
struct s_case_range {
    unsigned char first;
    unsigned char last;
    unsigned char distance;
};

constexpr s_case_range upper_case_ranges[] = {
    {0x41, 0x5A, 0x20},  // A-Z
    {0x8A, 0x8A, 0x10},  // S caron
    {0x8C, 0x8C, 0x10},  // OE ligature
    {0x8E, 0x8E, 0x10},  // Z caron
    {0x9F, 0x9F, 0x60},  // Y diaeresis
    {0xC0, 0xD6, 0x20},  // A grave to O diaeresis
    {0xD8, 0xDE, 0x20},  // O stroke to thorn
};

constexpr std::array<unsigned char, 256> make_lower_table()
{
    std::array<unsigned char, 256> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        table[i] = static_cast<unsigned char>(i);
    }
    for (const s_case_range& range : upper_case_ranges) {
        for (unsigned int byte = range.first; byte <= range.last; ++byte) {
            table[byte] = static_cast<unsigned char>(byte + range.distance);
        }
    }
    return table;
}

constexpr std::array<unsigned char, 256> lower_table = make_lower_table();

}  // namespace

unsigned char cp1252_lower_byte(unsigned char byte)
{
    return lower_table[byte];
}

std::string cp1252_lower(std::string_view text)
{
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(cp1252_lower_byte(static_cast<unsigned char>(c)));
    }
    return out;
}
