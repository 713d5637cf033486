#include "db/db_text.h"

#include <cstdio>

namespace {

constexpr unsigned char undefined_bytes[] = {0x81, 0x8D, 0x8F, 0x90, 0x9D};

struct s_named_escape {
    char byte;
    const char* form;
};

constexpr s_named_escape named_escapes[] = {
    {'\\', "\\\\"},
    {'\n', "\\n"},
    {'\t', "\\t"},
    {'\r', "\\r"},
};

}  // namespace

bool db_printable_byte(unsigned char byte)
{
    if (byte < 0x20 || byte == 0x7F) {
        return false;
    }
    for (const unsigned char undefined : undefined_bytes) {
        if (byte == undefined) {
            return false;
        }
    }
    return true;
}

std::size_t db_first_unprintable(const std::string& text)
{
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!db_printable_byte(static_cast<unsigned char>(text[i]))) {
            return i;
        }
    }
    return std::string::npos;
}

std::string db_escape_list_text(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const s_named_escape* named = nullptr;
        for (const s_named_escape& escape : named_escapes) {
            if (escape.byte == c) {
                named = &escape;
            }
        }
        const unsigned char byte = static_cast<unsigned char>(c);
        if (named != nullptr) {
            out += named->form;
        } else if (!db_printable_byte(byte)) {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}
