#include "impedance/eis_nyquist_draw.h"

#include "graph/colour_value.h"
#include "graph/graph_markers.h"
#include "graph/nyquist_graph_draw.h"

namespace {

constexpr int plot_left_inset = 80;
constexpr int plot_top_inset = 10;
constexpr int plot_right_inset = 30;
constexpr int readout_below_plot = 47;

enum class mark_shape { square, diamond };

struct s_eis_mark {
    bool found;
    int index;
    mark_shape shape;
};

void draw_mark(drawing_surface& surface, const s_nyquist_axes& axes, const s_lcr_sweep& sweep, const s_eis_mark& mark,
               std::uint32_t colour)
{
    if (!mark.found || mark.index < 0 || mark.index >= drawn_points(sweep)) {
        return;
    }
    const std::optional<s_plot_pixel> pixel = nyquist_pixel(axes, sweep.point[mark.index]);
    if (!pixel) {
        return;
    }
    if (mark.shape == mark_shape::square) {
        draw_square_marker(surface, pixel->x, pixel->y, colour);
    } else {
        draw_diamond_marker(surface, pixel->x, pixel->y, colour);
    }
}

void draw_analysis_marks(drawing_surface& surface, const s_nyquist_axes& axes, const s_lcr_sweep& sweep,
                         const eis_result& analysis)
{
    const std::uint32_t colour = white_background(axes.drawn) ? COLOUR_BLACK : COLOUR_WHITE;
    const s_eis_mark marks[] = {
        {analysis.min_real_found, analysis.min_real_index, mark_shape::square},
        {analysis.peak_found, analysis.peak_index, mark_shape::diamond},
        {analysis.arc_end_found, analysis.arc_end_index, mark_shape::square},
    };
    for (const s_eis_mark& mark : marks) {
        draw_mark(surface, axes, sweep, mark, colour);
    }
}

}  // namespace

s_rect eis_nyquist_plot_rect(const s_rect& area, int bottom_margin)
{
    return {area.left + plot_left_inset, area.top + plot_top_inset, area.right - plot_right_inset,
            area.bottom - bottom_margin};
}

void draw_eis_nyquist(drawing_surface& surface, const s_rect& area, s_graph_settings& settings,
                      const s_lcr_sweep& sweep, const s_eis_nyquist_view& view)
{
    const s_rect plot = eis_nyquist_plot_rect(area, view.bottom_margin);
    const s_nyquist_axes axes = draw_nyquist_graph(surface, area, plot, settings, sweep, view.layout);
    if (view.analysis != nullptr) {
        draw_analysis_marks(surface, axes, sweep, *view.analysis);
    }
    draw_nyquist_cursor(surface, axes, sweep, view.cursor, readout_left(area),
                        plot.bottom + readout_below_plot);
}
