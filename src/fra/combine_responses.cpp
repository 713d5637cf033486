#include "fra/combine_responses.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

using complex = std::complex<double>;

constexpr double radians_per_degree = 0.017453292519943295;
constexpr double degrees_per_radian = 57.29577951308232;

complex response_value(const s_test_graph_point& point)
{
    const double magnitude = std::pow(10.0, point.gain / 20);
    const double angle = point.phase * radians_per_degree;
    return {magnitude * std::cos(angle), magnitude * std::sin(angle)};
}

complex quotient(const complex& numerator, const complex& denominator)
{
    return numerator * std::conj(denominator) / std::norm(denominator);
}

complex closed_loop(const complex& h1, const complex& h2)
{
    return quotient(h1 + h2 - 2.0 * h1 * h2, 1.0 - h1 * h2);
}

complex closed_loop(const complex& h1, const complex& h2, const complex& h3)
{
    const complex pairs = h1 * h2 + h1 * h3 + h2 * h3;
    const complex all = h1 * h2 * h3;
    return quotient(h1 + h2 + h3 - 2.0 * pairs + 3.0 * all, 1.0 - pairs + 2.0 * all);
}

bool plotted(const s_test_graph_state& graph, int index)
{
    return index >= 0 && static_cast<std::size_t>(index) < graph.tests.size() && graph.tests[index] != nullptr;
}

const std::vector<s_test_graph_point>& points_of(const s_test_graph_state& graph, int index)
{
    return graph.tests[static_cast<std::size_t>(index)]->points;
}

}  // namespace

void combine_responses(bool open_loop, const std::vector<s_test_graph_point>& response1,
                       const std::vector<s_test_graph_point>& response2,
                       const std::vector<s_test_graph_point>* response3, s_combined_response& result)
{
    std::size_t count = std::min(response1.size(), response2.size());
    if (response3 != nullptr) {
        count = std::min(count, response3->size());
    }
    result.present = true;
    result.points.clear();
    result.points.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const complex h1 = response_value(response1[i]);
        const complex h2 = response_value(response2[i]);
        complex total;
        if (response3 == nullptr) {
            total = open_loop ? h1 + h2 : closed_loop(h1, h2);
        } else {
            const complex h3 = response_value((*response3)[i]);
            total = open_loop ? h1 + h2 + h3 : closed_loop(h1, h2, h3);
        }
        result.points.push_back({response1[i].frequency, 20 * std::log10(std::abs(total)),
                                 std::atan2(total.imag(), total.real()) * degrees_per_radian});
    }
}

void apply_loop_choice(s_test_graph_state& graph, const s_loop_choice& choice, bool accepted,
                       test_graph_hooks& hooks)
{
    const bool pair = accepted && plotted(graph, choice.response1) && plotted(graph, choice.response2) &&
                      choice.response1 != choice.response2;
    const bool third = pair && plotted(graph, choice.response3) && choice.response3 != choice.response1 &&
                       choice.response3 != choice.response2;
    if (pair && (third || choice.response3 == -1)) {
        combine_responses(choice.open_loop, points_of(graph, choice.response1), points_of(graph, choice.response2),
                          third ? &points_of(graph, choice.response3) : nullptr, graph.combined);
    } else {
        graph.combined = s_combined_response{};
    }
    if (graph.gain_range_mode == TEST_RANGE_AUTO) {
        hooks.recompute_gain_range();
    }
    hooks.redraw();
}
