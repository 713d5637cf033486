#include "sim/command_pattern.h"

namespace hvxsim {

namespace {

constexpr std::string_view integer_placeholder = "{n}";
constexpr std::string_view text_placeholder = "{text}";

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

// Backtracking matcher; patterns are short and lines bounded, so the cost
// of trying every split of a {text} capture is small.
bool match_from(std::string_view pattern, std::string_view line, command_args& args)
{
    if (pattern.empty())
        return line.empty();

    if (pattern.starts_with(text_placeholder)) {
        const auto rest = pattern.substr(text_placeholder.size());
        for (std::size_t len = 0; len <= line.size(); ++len) {
            args.emplace_back(line.substr(0, len));
            if (match_from(rest, line.substr(len), args))
                return true;
            args.pop_back();
        }
        return false;
    }

    if (pattern.starts_with(integer_placeholder)) {
        const auto rest = pattern.substr(integer_placeholder.size());
        const std::size_t sign = (!line.empty() && line[0] == '-') ? 1 : 0;
        std::size_t end = sign;
        while (end < line.size() && is_digit(line[end]))
            ++end;
        // Longest run of digits first, then shorter ones.
        for (std::size_t len = end; len > sign; --len) {
            args.emplace_back(line.substr(0, len));
            if (match_from(rest, line.substr(len), args))
                return true;
            args.pop_back();
        }
        return false;
    }

    if (line.empty() || ascii_lower(pattern[0]) != ascii_lower(line[0]))
        return false;
    return match_from(pattern.substr(1), line.substr(1), args);
}

}  // namespace

char ascii_lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool equal_ignoring_case(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (ascii_lower(a[i]) != ascii_lower(b[i]))
            return false;
    }
    return true;
}

bool match_command(std::string_view pattern, std::string_view line, command_args& args)
{
    args.clear();
    return match_from(pattern, line, args);
}

}  // namespace hvxsim
