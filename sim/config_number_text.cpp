#include "sim/config_number_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace hvxsim {

namespace {

std::string printed(const char* format, double value)
{
    char text[64];
    const int n = std::snprintf(text, sizeof text, format, value);
    return std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0);
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

std::string compact_exponent_text(double value)
{
    if (!std::isfinite(value) || value == 0)
        value = 0;  // also turns -0 into 0
    // "%.4E" already rounds the mantissa and carries into the exponent
    // (9.99996 gives 1.0000E+01); only the exponent's form changes.
    const std::string full = printed("%.4E", value);
    const auto e = full.find('E');
    if (e == std::string::npos)
        return "0.0000E0";
    std::string_view exponent(full);
    exponent.remove_prefix(e + 1);
    const bool negative = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+'))
        exponent.remove_prefix(1);
    int magnitude = 0;
    std::from_chars(exponent.data(), exponent.data() + exponent.size(), magnitude);
    std::string text = full.substr(0, e + 1);
    if (negative && magnitude != 0)
        text += '-';
    text += std::to_string(magnitude);
    return text;
}

std::string whole_number_text(double value)
{
    return printed("%.0f", value);
}

std::string plain_number_text(double value)
{
    return printed("%.10g", value);
}

bool parse_whole_number(std::string_view text, double& value)
{
    const std::size_t first_digit = (!text.empty() && text.front() == '-') ? 1 : 0;
    if (text.size() == first_digit || text.size() > first_digit + 15)
        return false;  // fifteen digits stay exact in a double
    for (std::size_t i = first_digit; i < text.size(); ++i) {
        if (!is_digit(text[i]))
            return false;
    }
    long long parsed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || ptr != text.data() + text.size())
        return false;
    value = static_cast<double>(parsed);
    return true;
}

bool parse_real_number(std::string_view text, double& value)
{
    // from_chars takes no "+" and does take "inf" and "nan": allow only
    // the characters of a decimal number, and drop one leading "+".
    for (char c : text) {
        if (!is_digit(c) && c != '.' && c != 'e' && c != 'E' && c != '+' && c != '-')
            return false;
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && text.front() == '-')
            return false;
    }
    if (text.empty() || text.front() == '+')
        return false;
    double parsed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

}  // namespace hvxsim
