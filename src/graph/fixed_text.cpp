#include "graph/fixed_text.h"

#include <cmath>
#include <cstdio>

#include "graph/non_finite_text.h"

namespace {

constexpr int most_decimals = 100;

}  // namespace

std::string fixed_text(double value, int decimals)
{
    if (!std::isfinite(value)) {
        return non_finite_text(value, false);
    }
    const int places = decimals < 0 ? 0 : (decimals > most_decimals ? most_decimals : decimals);
    char text[64];
    const int length = std::snprintf(text, sizeof text, "%.*f", places, value);
    if (length < 0) {
        return {};
    }
    if (static_cast<std::size_t>(length) < sizeof text) {
        return std::string(text, static_cast<std::size_t>(length));
    }
    // The largest doubles have 309 digits before the mark.
    std::string wide(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(wide.data(), wide.size(), "%.*f", places, value);
    wide.pop_back();
    return wide;
}
