#include "app/text_encoding.h"

#include <cstdint>

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the others equal their byte.
constexpr std::uint16_t cp1252_high_controls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::uint32_t code_point(unsigned char byte)
{
    if (byte >= 0x80 && byte < 0xA0) {
        return cp1252_high_controls[byte - 0x80];
    }
    return byte;
}

void append_utf8(std::string& out, std::uint32_t point)
{
    if (point < 0x80) {
        out += static_cast<char>(point);
    } else if (point < 0x800) {
        out += static_cast<char>(0xC0 | (point >> 6));
        out += static_cast<char>(0x80 | (point & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (point >> 12));
        out += static_cast<char>(0x80 | ((point >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (point & 0x3F));
    }
}

// The next code point of well-formed UTF-8 at text[*at] (shortest forms
// only, no surrogates); false when the bytes there are not well-formed.
bool next_code_point(const std::string& text, std::size_t* at, std::uint32_t* point)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(*at);
    int length = 0;
    std::uint32_t value = 0;
    std::uint32_t smallest = 0;
    if (lead < 0x80) {
        *point = lead;
        *at += 1;
        return true;
    } else if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, smallest = 0x10000;
    } else {
        return false;
    }
    if (*at + static_cast<std::size_t>(length) > text.size()) {
        return false;
    }
    for (int i = 1; i < length; ++i) {
        const unsigned char next = byte(*at + static_cast<std::size_t>(i));
        if ((next & 0xC0) != 0x80) {
            return false;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < smallest || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return false;
    }
    *point = value;
    *at += static_cast<std::size_t>(length);
    return true;
}

// The Windows-1252 byte of a code point; -1 when it has none.
int cp1252_byte(std::uint32_t point)
{
    if (point < 0x80 || (point >= 0xA0 && point <= 0xFF)) {
        return static_cast<int>(point);
    }
    for (int i = 0; i < 32; ++i) {
        if (cp1252_high_controls[i] == point) {
            return 0x80 + i;
        }
    }
    return -1;
}

}  // namespace

std::string cp1252_to_utf8(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 2);
    for (const char c : text) {
        append_utf8(out, code_point(static_cast<unsigned char>(c)));
    }
    return out;
}

utf8_conversion utf8_to_cp1252(const std::string& utf8, std::string* out)
{
    std::string converted;
    converted.reserve(utf8.size());
    bool representable = true;
    for (std::size_t at = 0; at < utf8.size();) {
        std::uint32_t point = 0;
        if (!next_code_point(utf8, &at, &point)) {
            return utf8_conversion::not_utf8;
        }
        const int byte = cp1252_byte(point);
        if (byte < 0) {
            representable = false;
        } else {
            converted += static_cast<char>(byte);
        }
    }
    if (!representable) {
        return utf8_conversion::not_representable;
    }
    *out = std::move(converted);
    return utf8_conversion::converted;
}

std::string system_path(const std::string& program_path)
{
#ifdef _WIN32
    return program_path;
#else
    return cp1252_to_utf8(program_path);
#endif
}

std::string program_text_from_system(const std::string& text)
{
#ifdef _WIN32
    return text;
#else
    std::string converted;
    return utf8_to_cp1252(text, &converted) == utf8_conversion::converted ? converted : text;
#endif
}
