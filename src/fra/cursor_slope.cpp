#include "fra/cursor_slope.h"

#include <cmath>

double cursor_slope(const s_fra_sweep& sweep, int index)
{
    const int points = fra_sweep_held_points(sweep);
    if (index <= 0 || index >= points) {
        return 0;
    }
    const s_fra_result& a = sweep.point[index - 1];
    const s_fra_result& b = sweep.point[index < points - 1 ? index + 1 : index];
    const double ratio = b.frequency / a.frequency;
    if (ratio > 0 && b.frequency != a.frequency) {
        return (b.gain - a.gain) / std::log10(ratio);
    }
    return 0;
}
