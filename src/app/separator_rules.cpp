#include "app/separator_rules.h"

#include <cstring>

namespace {

constexpr char refused_marks[] = "+-*\\/\"`$\xA3";

bool is_ascii_letter_or_digit(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

}  // namespace

bool separator_refused(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) {
        return true;
    }
    return is_ascii_letter_or_digit(byte) || std::strchr(refused_marks, c) != nullptr;
}
