#include "impedance/eis_analysis.h"

#include <cmath>
#include <vector>

#include "fra/lcr_layout.h"

namespace {

// 2 pi as the program has always written it (2 ulp below the true value).
constexpr double two_pi = 6.2831853071795845;
// The start value of the smallest Z': a point must lie below it to count.
constexpr double real_start = 1e10;

// The window in points: the integer part of n x smoothing, worked out in
// doubles, so 100 x 0.29 (28.999999999999996) gives 28. A tuning outside
// 0 to 1 (never accepted from the user) is held to the block.
int window_points(int points, double smoothing)
{
    const double product = points * smoothing;
    if (!(product >= 0.0)) {
        return 0;
    }
    if (product >= points) {
        return points;
    }
    return static_cast<int>(product);
}

// Walks the block from its high-frequency end: position 0 is the first point
// scanned. A descending sweep (f(0) > f(n-1)) is scanned in stored order,
// any other from its last point back; "back" always means towards the
// positions already scanned.
class scan_order {
public:
    scan_order(const s_lcr_sweep& sweep, int points)
        : points_(points), descending_(sweep.point[0].value[0] > sweep.point[points - 1].value[0])
    {
    }
    int index(int position) const { return descending_ ? position : points_ - 1 - position; }

private:
    int points_;
    bool descending_;
};

}  // namespace

eis_result eis_scan(const s_lcr_sweep& sweep, int layout, const eis_tuning& tuning)
{
    eis_result result{};
    const int points = sweep.points;
    if (points < SWEEP_MIN_POINTS || points > SWEEP_MAX_POINTS) {
        return result;
    }
    const int window = window_points(points, tuning.smoothing);
    const int half_window = window / 2;
    const scan_order order(sweep, points);

    std::vector<s_nyquist_pair> pair(static_cast<std::size_t>(points));
    for (int position = 0; position < points; ++position) {
        pair[static_cast<std::size_t>(position)] = lcr_nyquist_pair(sweep.point[order.index(position)], layout);
    }

    double min_real = real_start;
    double min_real_imaginary = 0.0;  // Z'' at the smallest Z'
    int min_position = 0;
    bool min_found = false;
    double peak = 0.0;
    int peak_position = 0;
    bool peak_found = false;
    double max_real = 0.0;
    int arc_end_position = 0;
    bool end_found = false;       // the arc's end was accepted, max_real holds it
    bool end_marked = false;      // ... and arc_end_position names its point
    int position = 0;
    for (; position < points && !end_found; ++position) {
        const s_nyquist_pair& here = pair[static_cast<std::size_t>(position)];
        if (here.real < min_real) {
            // A new start of the arc: everything found after the old one goes.
            min_real = here.real;
            min_real_imaginary = here.imaginary;
            min_position = position;
            min_found = true;
            peak = 0.0;
            peak_position = 0;
            peak_found = false;
            continue;
        }
        if (std::fabs(here.imaginary) > std::fabs(peak)) {
            peak = here.imaginary;
            peak_position = position;
            peak_found = true;
            continue;
        }
        if (position <= window) {
            continue;  // fewer than window points lie back of this one
        }
        const s_nyquist_pair& back = pair[static_cast<std::size_t>(position - window)];
        // A zero difference gives infinity or a value that is not a number;
        // neither is accepted below unless it is positive.
        const double slope = (std::fabs(here.imaginary) - std::fabs(back.imaginary)) /
                             (std::fabs(here.real) - std::fabs(back.real));
        const double limit = std::fabs(peak) - (std::fabs(peak) - std::fabs(min_real_imaginary)) * tuning.sensitivity;
        if (!(std::fabs(here.imaginary) < limit)) {
            continue;
        }
        if (slope == 0.0) {
            max_real = here.real;
            end_found = true;
        } else if (slope > 0.0) {
            max_real = back.real;
            arc_end_position = position - half_window;
            end_found = true;
            end_marked = true;
        }
    }
    if (!end_found) {
        max_real = pair[static_cast<std::size_t>(points - 1)].real;  // the last point scanned
    }

    // An index that names no point is 0, the block's first point.
    result.min_real_index = min_found ? order.index(min_position) : 0;
    result.arc_end_index = end_marked ? order.index(arc_end_position) : 0;
    result.peak_index = peak_found ? order.index(peak_position) : 0;
    result.min_real = min_real;
    result.max_real = max_real;
    result.max_imaginary = peak;
    result.peak_frequency = sweep.point[result.peak_index].value[0];
    result.rs = min_real;
    result.rp = max_real - min_real;
    // Rp and Cp in parallel have their top at 2 pi f Rp Cp = 1.
    result.cp = peak_found && result.rp > 0.0 && result.peak_frequency > 0.0
                    ? 1.0 / (two_pi * result.peak_frequency * result.rp)
                    : 0.0;
    result.min_real_found = min_found;
    result.arc_end_found = end_marked;
    result.peak_found = peak_found;
    return result;
}

void eis_reset(eis_state& state)
{
    state = eis_state{};
}

void eis_calculate(eis_state& state, const s_lcr_sweep& sweep, int layout)
{
    if (sweep.points < SWEEP_MIN_POINTS) {
        eis_reset(state);
        return;
    }
    state.result = eis_scan(sweep, layout, state.tuning);
    state.calculated = true;
}
