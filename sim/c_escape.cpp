#include "sim/c_escape.h"

namespace hvxsim {

namespace {

struct named_escape {
    char byte;
    char letter;
};

// Bytes with a one-letter escape. The first six are what c_escape writes;
// c_unescape accepts all of them.
constexpr named_escape named_escapes[] = {
    {'\r', 'r'}, {'\n', 'n'}, {'\t', 't'}, {'\\', '\\'}, {'"', '"'}, {'\0', '0'},
    {'\a', 'a'}, {'\b', 'b'}, {'\f', 'f'}, {'\v', 'v'}, {'\'', '\''}, {'?', '?'},
};
constexpr int written_named_escapes = 6;

int hex_digit_value(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string c_escape(std::string_view bytes)
{
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() + 8);
    for (char c : bytes) {
        bool named = false;
        for (int i = 0; i < written_named_escapes; ++i) {
            if (named_escapes[i].byte == c) {
                out += '\\';
                out += named_escapes[i].letter;
                named = true;
                break;
            }
        }
        if (named)
            continue;
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b > 0x7E) {
            out += "\\x";
            out += hex[b >> 4];
            out += hex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

bool c_unescape(std::string_view text, std::string& out, std::string& error)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size()) {
            error = "lone backslash at the end of \"" + std::string(text) + "\"";
            return false;
        }
        const char letter = text[i];
        if (letter >= '0' && letter <= '7') {
            // Octal: up to three digits ("\024" is the reset byte).
            int value = 0;
            std::size_t digits = 0;
            while (digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7') {
                value = value * 8 + (text[i] - '0');
                ++i;
                ++digits;
            }
            --i;
            out += static_cast<char>(value & 0xFF);
            continue;
        }
        if (letter == 'x') {
            int value = 0;
            std::size_t digits = 0;
            while (digits < 2 && i + 1 < text.size() && hex_digit_value(text[i + 1]) >= 0) {
                value = value * 16 + hex_digit_value(text[++i]);
                ++digits;
            }
            if (digits == 0) {
                error = "\\x without a hex digit in \"" + std::string(text) + "\"";
                return false;
            }
            out += static_cast<char>(value);
            continue;
        }
        bool known = false;
        for (const auto& e : named_escapes) {
            if (e.letter == letter) {
                out += e.byte;
                known = true;
                break;
            }
        }
        if (!known) {
            error = std::string("unknown escape \\") + letter + " in \"" + std::string(text) + "\"";
            return false;
        }
    }
    return true;
}

std::string quoted(std::string_view text)
{
    std::string q(1, '"');
    q += text;
    q += '"';
    return q;
}

}  // namespace hvxsim
