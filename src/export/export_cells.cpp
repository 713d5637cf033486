#include "export/export_cells.h"

#include <algorithm>
#include <climits>

#include "graph/exponent_text.h"

namespace {

constexpr int cell_precision = 5;

}  // namespace

s_export_punctuation export_punctuation_of(const std::locale& locale)
{
    const auto& facet = std::use_facet<std::numpunct<char>>(locale);
    return {facet.decimal_point(), facet.thousands_sep(), facet.grouping()};
}

std::string export_cell_text(double value, const s_export_punctuation& punctuation)
{
    std::string text = exp_text(value, cell_precision, false);
    std::replace(text.begin(), text.end(), '.', punctuation.decimal);
    return text;
}

std::string export_step_text(long long step, const s_export_punctuation& punctuation)
{
    const bool negative = step < 0;
    // The digits, least significant first (LLONG_MIN has no positive twin).
    std::string digits;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(step)
                                            : static_cast<unsigned long long>(step);
    do {
        digits.push_back(static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);

    std::string grouped;
    std::size_t group_index = 0;
    int in_group = 0;
    int group_size = punctuation.grouping.empty() ? 0 : static_cast<signed char>(punctuation.grouping[0]);
    for (std::size_t i = 0; i < digits.size(); ++i) {
        // A size of 0 or CHAR_MAX ends the grouping, as numpunct defines it.
        const bool grouping_on = group_size > 0 && group_size != CHAR_MAX;
        if (grouping_on && in_group == group_size) {
            grouped.push_back(punctuation.thousands);
            in_group = 0;
            if (group_index + 1 < punctuation.grouping.size()) {
                group_size = static_cast<signed char>(punctuation.grouping[++group_index]);
            }
        }
        grouped.push_back(digits[i]);
        ++in_group;
    }
    if (negative) {
        grouped.push_back('-');
    }
    std::reverse(grouped.begin(), grouped.end());
    return grouped;
}
