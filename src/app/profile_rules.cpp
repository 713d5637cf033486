#include "app/profile_rules.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "app/profile_store.h"

namespace {

struct s_integer_prefix {
    const char* text;
    std::uint32_t base;
};

// Only lower-case prefixes count, as with the system's own reader.
constexpr s_integer_prefix integer_prefixes[] = {{"0x", 16}, {"0o", 8}, {"0b", 2}};

int digit_value(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'Z') {
        return c - 'A' + 10;
    }
    return -1;
}

bool has_line_break(const char* text)
{
    return std::strpbrk(text, "\r\n") != nullptr;
}

}  // namespace

bool profile_is_space(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r' || c == 0x1A;
}

std::string_view profile_trim(std::string_view text)
{
    while (!text.empty() && profile_is_space(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && profile_is_space(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string_view profile_unquote(std::string_view text)
{
    if (text.size() >= 2 && (text.front() == '"' || text.front() == '\'') &&
        text.back() == text.front()) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

int profile_leading_integer(std::string_view text)
{
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') {
        text.remove_prefix(1);
    }
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint32_t base = 10;
    for (const s_integer_prefix& prefix : integer_prefixes) {
        if (text.starts_with(prefix.text)) {
            base = prefix.base;
            text.remove_prefix(std::strlen(prefix.text));
            break;
        }
    }
    std::uint32_t total = 0;
    for (char c : text) {
        const int digit = digit_value(c);
        if (digit < 0 || static_cast<std::uint32_t>(digit) >= base) {
            break;
        }
        total = total * base + static_cast<std::uint32_t>(digit);
    }
    if (negative) {
        total = 0u - total;
    }
    return static_cast<int>(total);
}

bool profile_text_writable(const char* section, const char* key, const char* value)
{
    if (section == nullptr || key == nullptr || value == nullptr) {
        return false;
    }
    if (profile_trim(section).empty() || profile_trim(key).empty()) {
        return false;
    }
    if (has_line_break(section) || has_line_break(key) || has_line_break(value)) {
        return false;
    }
    // A key line starting with '[' would read back as a section header.
    return std::strchr(section, ']') == nullptr && std::strchr(key, '=') == nullptr &&
           profile_trim(key).front() != '[';
}

std::string profile_cut(std::string_view text, std::size_t max_length)
{
    const std::size_t limit = std::min(max_length, profile_max_value_length);
    return std::string(text.substr(0, std::min(text.size(), limit)));
}
