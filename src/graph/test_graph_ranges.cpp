// Automatic ranges of the test graph.
#include "graph/test_graph_ranges.h"

#include <cmath>
#include <vector>

#include "graph/autoscale_padding.h"

namespace {

constexpr s_axis_ends FREQUENCY_START{1e9, 0};
constexpr s_axis_ends GAIN_START{1000, -500};
constexpr double GAIN_STEP_DB = 10;

template <class ValueOf>
bool search_points(const std::vector<s_test_graph_point>& points, const ValueOf& value_of, s_axis_ends& ends)
{
    return search_extremes(static_cast<int>(points.size()), [&](int i) { return value_of(points[i]); }, ends);
}

}  // namespace

test_range_search autoscale_test_frequency(s_test_graph_state& state)
{
    s_axis_ends ends = FREQUENCY_START;
    bool found = false;
    for (const auto& test : state.tests) {
        found |= search_points(test->points, [](const s_test_graph_point& p) { return p.frequency; }, ends);
    }
    widen_flat_span(ends, false);
    state.frequency_max = ends.high;
    state.frequency_min = ends.low == 0 ? 1 : ends.low;
    return found ? test_range_search::found : test_range_search::no_points;
}

test_range_search autoscale_test_gain(s_test_graph_state& state)
{
    const double low = state.frequency_min;
    const double high = state.frequency_max;
    // A point outside the frequency range gives a NaN, which takes no part.
    const auto gain_in_range = [low, high](const s_test_graph_point& p) {
        return p.frequency >= low && p.frequency <= high ? p.gain : std::nan("");
    };
    s_axis_ends ends = GAIN_START;
    bool found = false;
    for (const auto& test : state.tests) {
        found |= search_points(test->points, gain_in_range, ends);
    }
    if (state.combined.present) {
        found |= search_points(state.combined.points, gain_in_range, ends);
    }
    widen_flat_span(ends, true);
    state.gain_max = std::ceil(ends.high / GAIN_STEP_DB) * GAIN_STEP_DB;
    state.gain_min = std::floor(ends.low / GAIN_STEP_DB) * GAIN_STEP_DB;
    return found ? test_range_search::found : test_range_search::no_points;
}

void centre_test_gain(s_test_graph_state& state)
{
    if (std::fabs(state.gain_min) < std::fabs(state.gain_max)) {
        state.gain_min = -state.gain_max;
    } else {
        state.gain_max = -state.gain_min;
    }
}
