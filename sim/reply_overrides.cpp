#include "sim/reply_overrides.h"

#include <charconv>
#include <cstdio>

#include "sim/binary_value.h"
#include "sim/c_escape.h"
#include "sim/command_pattern.h"

namespace hvxsim {

namespace {

constexpr std::size_t default_burst_line_length = 70;

// Splits "CMD=REST" at the first '='; CMD must not be empty.
bool split_command(std::string_view argument, std::string& command, std::string_view& rest, std::string& error)
{
    const auto eq = argument.find('=');
    if (eq == std::string_view::npos || eq == 0) {
        error = "expected CMD=..., got " + quoted(argument);
        return false;
    }
    command = std::string(argument.substr(0, eq));
    rest = argument.substr(eq + 1);
    return true;
}

bool parse_count(std::string_view text, std::size_t max, std::size_t& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    std::size_t parsed = 0;
    const auto [ptr, ec] = std::from_chars(first, last, parsed);
    if (text.empty() || ec != std::errc() || ptr != last) {
        error = quoted(text) + " is not a whole number";
        return false;
    }
    if (parsed > max) {
        error = std::string(text) + " is larger than " + std::to_string(max);
        return false;
    }
    value = parsed;
    return true;
}

bool parse_number(std::string_view text, double& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    // from_chars takes no leading '+'; accept one as people write it.
    if (first != last && *first == '+')
        ++first;
    const auto [ptr, ec] = std::from_chars(first, last, value);
    if (first == last || ec != std::errc() || ptr != last) {
        error = quoted(text) + " is not a number";
        return false;
    }
    return true;
}

}  // namespace

std::string filler_line(std::size_t index, std::size_t length)
{
    char prefix[32];
    const int n = std::snprintf(prefix, sizeof prefix, "%06zu:", index % 1000000);
    std::string line(prefix, prefix + (n > 0 ? n : 0));
    for (std::size_t i = 0; line.size() < length; ++i)
        line += static_cast<char>('A' + i % 26);
    line.resize(length);
    return line;
}

std::optional<reply_override> parse_binary_reply(std::string_view argument, std::string& error)
{
    reply_override result;
    std::string_view rest;
    if (!split_command(argument, result.command, rest, error))
        return std::nullopt;
    std::vector<double> values;
    while (true) {
        const auto comma = rest.find(',');
        double value = 0;
        if (!parse_number(rest.substr(0, comma), value, error))
            return std::nullopt;
        values.push_back(value);
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    if (values.size() * 5 > max_forced_reply_bytes) {
        error = "too many values";
        return std::nullopt;
    }
    result.lines.push_back(encode_binary_values(values));
    return result;
}

std::optional<reply_override> parse_raw_reply(std::string_view argument, std::string& error)
{
    reply_override result;
    std::string_view rest;
    if (!split_command(argument, result.command, rest, error))
        return std::nullopt;
    std::string text;
    if (!c_unescape(rest, text, error))
        return std::nullopt;
    result.lines.push_back(std::move(text));
    return result;
}

std::optional<reply_override> parse_exact_reply(std::string_view argument, std::string& error)
{
    auto result = parse_raw_reply(argument, error);
    if (result)
        result->line_ends = false;
    return result;
}

std::optional<reply_override> parse_burst_reply(std::string_view argument, std::string& error)
{
    reply_override result;
    std::string_view rest;
    if (!split_command(argument, result.command, rest, error))
        return std::nullopt;
    const auto x = rest.find_first_of("xX");
    std::size_t count = 0;
    std::size_t length = default_burst_line_length;
    if (!parse_count(rest.substr(0, x), max_forced_reply_bytes, count, error))
        return std::nullopt;
    if (x != std::string_view::npos && !parse_count(rest.substr(x + 1), max_forced_reply_bytes, length, error))
        return std::nullopt;
    // Two bytes of line end per line count towards the limit too.
    if (count != 0 && length + 2 > max_forced_reply_bytes / count) {
        error = "burst of " + std::to_string(count) + " lines of " + std::to_string(length) +
                " characters is too large";
        return std::nullopt;
    }
    result.lines.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        result.lines.push_back(filler_line(i + 1, length));
    return result;
}

std::optional<reply_override> parse_big_reply(std::string_view argument, std::string& error)
{
    reply_override result;
    std::string_view rest;
    if (!split_command(argument, result.command, rest, error))
        return std::nullopt;
    std::size_t length = 0;
    if (!parse_count(rest, max_forced_reply_bytes, length, error))
        return std::nullopt;
    result.lines.push_back(filler_line(1, length));
    return result;
}

std::optional<reply_override> parse_endless_reply(std::string_view argument, std::string& error)
{
    if (argument.empty()) {
        error = "expected a command";
        return std::nullopt;
    }
    reply_override result;
    result.command = std::string(argument);
    result.endless = true;
    return result;
}

std::string endless_reply_bytes(std::size_t offset, std::size_t count)
{
    std::string bytes(count, ' ');
    for (std::size_t i = 0; i < count; ++i)
        bytes[i] = static_cast<char>('A' + (offset + i) % 26);
    return bytes;
}

const reply_override* find_override(const std::vector<reply_override>& overrides, std::string_view line)
{
    for (const auto& o : overrides) {
        if (equal_ignoring_case(o.command, line))
            return &o;
    }
    return nullptr;
}

}  // namespace hvxsim
