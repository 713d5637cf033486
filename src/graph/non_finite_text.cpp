#include "graph/non_finite_text.h"

#include <cmath>

const char* non_finite_text(double value, bool upper)
{
    if (std::isnan(value)) {
        return upper ? "NAN" : "nan";
    }
    if (value < 0) {
        return upper ? "-INF" : "-inf";
    }
    return upper ? "INF" : "inf";
}
