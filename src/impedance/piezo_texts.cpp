#include "impedance/piezo_texts.h"

#include <cmath>

#include "graph/number_format.h"

namespace {

constexpr const char* degenerate_text = "0";

bool shown_as_number(double value)
{
    return value != 0.0 && std::isfinite(value);
}

}  // namespace

s_piezo_texts piezo_result_texts(const piezo_result& result)
{
    if (!shown_as_number(result.r) || !shown_as_number(result.c) || !shown_as_number(result.c_p) ||
        !shown_as_number(result.l)) {
        return {degenerate_text, degenerate_text, degenerate_text, degenerate_text};
    }
    return {format_eng_text(result.r), format_eng_text(result.l), format_eng_text(result.c),
            format_eng_text(result.c_p)};
}
