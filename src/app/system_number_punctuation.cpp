#include "app/system_number_punctuation.h"

#include <climits>

namespace {

// Space characters without a Windows-1252 byte, as ranges of code points.
struct s_code_point_range {
    std::uint32_t first;
    std::uint32_t last;
};

constexpr s_code_point_range spaces_without_byte[] = {
    {0x2000, 0x200A},  // en quad to hair space
    {0x202F, 0x202F},  // narrow no-break space
    {0x205F, 0x205F},  // medium mathematical space
    {0x3000, 0x3000},  // ideographic space
};

constexpr char no_break_space = '\xA0';

}  // namespace

bool grouping_from_system_text(const std::string& text, std::string* grouping)
{
    std::string sizes;
    bool repeats = false;
    for (std::size_t at = 0; at < text.size(); at += 2) {
        const char digit = text[at];
        if (digit < '0' || digit > '9') {
            return false;
        }
        const bool last = at + 1 >= text.size();
        if (!last && text[at + 1] != ';') {
            return false;
        }
        if (digit == '0') {
            // "0" ends the list: the size before it repeats.
            if (!last) {
                return false;
            }
            repeats = true;
        } else {
            sizes += static_cast<char>(digit - '0');
        }
        if (!last && at + 2 >= text.size()) {
            return false;  // a trailing ';'
        }
    }
    // The facet repeats its last size: a list that does not repeat ends
    // with CHAR_MAX, which groups nothing further.
    if (!sizes.empty() && !repeats) {
        sizes += static_cast<char>(CHAR_MAX);
    }
    *grouping = sizes;
    return true;
}

bool punctuation_from_system_texts(const std::string& decimal, const std::string& thousands,
                                   const std::string& grouping, s_number_punctuation* out)
{
    s_number_punctuation punctuation;
    if (decimal.size() != 1 || thousands.size() > 1 || !grouping_from_system_text(grouping, &punctuation.grouping)) {
        return false;
    }
    punctuation.decimal = decimal.front();
    if (thousands.empty()) {
        punctuation.thousands = ',';
        punctuation.grouping.clear();
    } else {
        punctuation.thousands = thousands.front();
    }
    *out = punctuation;
    return true;
}

char separator_stand_in(std::uint32_t code_point)
{
    for (const s_code_point_range& range : spaces_without_byte) {
        if (code_point >= range.first && code_point <= range.last) {
            return no_break_space;
        }
    }
    return '\0';
}
