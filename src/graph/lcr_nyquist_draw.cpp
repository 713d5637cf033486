#include "graph/lcr_nyquist_draw.h"

#include "graph/nyquist_graph_draw.h"

namespace {

constexpr int plot_left_inset = 80;
constexpr int plot_top_inset = 10;
constexpr int plot_right_inset = 30;
constexpr int plot_bottom_inset = 90;
constexpr int hidden_bottom_inset = 150;

}  // namespace

s_rect lcr_nyquist_plot_rect(const s_rect& area, bool settings_hidden)
{
    return {area.left + plot_left_inset, area.top + plot_top_inset, area.right - plot_right_inset,
            area.bottom - (settings_hidden ? hidden_bottom_inset : plot_bottom_inset)};
}

void draw_lcr_nyquist(drawing_surface& surface, const s_rect& area, s_graph_settings& settings,
                      const s_lcr_sweep& sweep, const s_lcr_nyquist_view& view)
{
    const s_rect plot = lcr_nyquist_plot_rect(area, view.settings_hidden);
    const s_nyquist_axes axes = draw_nyquist_graph(surface, area, plot, settings, sweep, view.layout);
    draw_nyquist_cursor(surface, axes, sweep, view.cursor, readout_left(area),
                        readout_top(area, view.settings_hidden));
}
