#include "db/db_path.h"

#include <cstdint>
#include <filesystem>
#include <system_error>

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

// The path as the file system library takes it: from UTF-8 on every platform.
std::filesystem::path file_system_path(const std::string& path)
{
    const std::string utf8 = cp1252_to_utf8(path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
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

bool db_path_exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(file_system_path(path), error);
}

bool db_file_exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(file_system_path(path), error);
}

bool db_remove_file(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::remove(file_system_path(path), error);
}
