#include "graph/test_graph_background.h"

namespace {

// Margin colours: 0 black, 1 white, 2 custom.
constexpr std::int32_t margin_black = 0;
constexpr std::int32_t margin_white = 1;

void swap_margin_colour(std::int32_t& colour, std::int32_t from, std::int32_t to)
{
    if (colour == from) {
        colour = to;
    }
}

}  // namespace

void choose_test_graph_background(s_test_graph_state& state, std::int32_t mode)
{
    state.background_mode = mode;
    if (mode != TEST_BACKGROUND_BLACK && mode != TEST_BACKGROUND_WHITE) {
        return;
    }
    const std::int32_t hidden = mode == TEST_BACKGROUND_BLACK ? margin_black : margin_white;
    const std::int32_t shown = mode == TEST_BACKGROUND_BLACK ? margin_white : margin_black;
    for (const auto& test : state.tests) {
        if (test) {
            swap_margin_colour(test->appearance.gain_margin_colour, hidden, shown);
            swap_margin_colour(test->appearance.phase_margin_colour, hidden, shown);
        }
    }
}
