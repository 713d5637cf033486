#include "graph/round_trip_text.h"

#include <cmath>
#include <cstdlib>

#include "graph/exponent_text.h"

namespace {

// 15 digits always survive a text round trip of a decimal; 17 always
// reproduce a double.
constexpr int shortest_digits = 15;
constexpr int round_trip_digits = 17;

}  // namespace

std::string round_trip_text(double value)
{
    if (!std::isfinite(value)) {
        return general_number_text(value, round_trip_digits);
    }
    for (int digits = shortest_digits; digits < round_trip_digits; ++digits) {
        std::string text = general_number_text(value, digits);
        if (std::strtod(text.c_str(), nullptr) == value) {
            return text;
        }
    }
    return general_number_text(value, round_trip_digits);
}
