#include "impedance/eis_texts.h"

#include <cmath>
#include <cstdio>

#include "graph/exponent_text.h"

namespace {

std::string fixed_text(double value)
{
    const int length = std::snprintf(nullptr, 0, "%0.4f", value);
    if (length <= 0) {
        return std::string();
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%0.4f", value);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

bool shows_a_value(double value)
{
    return value != 0.0 && std::isfinite(value);
}

}  // namespace

s_eis_texts eis_result_texts(const eis_result& result)
{
    if (!shows_a_value(result.rs) || !shows_a_value(result.rp) || !shows_a_value(result.cp)) {
        return {"0", "0", "0"};
    }
    const std::string ohms = std::string(" ") + EIS_OHM_SIGN;
    return {fixed_text(result.rs) + ohms, fixed_text(result.rp) + ohms, exp_text(result.cp, 4, true) + " F"};
}

s_eis_texts eis_shown_texts(const eis_state& state)
{
    return state.calculated ? eis_result_texts(state.result) : s_eis_texts{};
}
