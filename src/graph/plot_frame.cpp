#include "graph/plot_frame.h"

namespace {

constexpr int frame_margin = 4;
constexpr brush_kind frame_brushes[] = {brush_kind::grey, brush_kind::light_grey, brush_kind::light_grey,
                                        brush_kind::grey, brush_kind::dark_grey};

}  // namespace

void draw_plot_frame(drawing_surface& surface, const s_rect& plot, const s_brush& background)
{
    s_rect edge{plot.left - frame_margin, plot.top - frame_margin, plot.right + frame_margin,
                plot.bottom + frame_margin};
    surface.fill_rect(edge, background);
    for (const brush_kind kind : frame_brushes) {
        surface.frame_rect(edge, s_brush{kind, 0});
        edge = {edge.left + 1, edge.top + 1, edge.right - 1, edge.bottom - 1};
    }
}

s_grid_pens grid_pens(bool white_background, bool reference_axis_linear)
{
    const std::uint32_t major = white_background ? GRID_DARK_GREY : GRID_LIGHT_GREY;
    const std::uint32_t minor = white_background ? GRID_LIGHT_GREY : GRID_DARK_GREY;
    return {{pen_style::solid, 1, major},
            {reference_axis_linear ? pen_style::dotted : pen_style::solid, 1, minor}};
}
