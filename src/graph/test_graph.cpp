// The opening state of a test graph's plots.
#include "graph/test_graph.h"

s_plot_appearance plot_appearance_opening(int test_index)
{
    s_plot_appearance look{};
    look.gain_visible = true;
    look.phase_visible = true;
    look.band_mode = 1;
    look.gain_weight = 2;
    look.phase_weight = 2;
    look.gain_colour_index = 2 * test_index;
    look.phase_colour_index = 2 * test_index + 1;
    look.gain_margin_colour = 1;
    look.phase_margin_colour = 1;
    return look;
}
