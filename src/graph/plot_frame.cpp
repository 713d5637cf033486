#include "graph/plot_frame.h"

namespace {

constexpr std::uint32_t LIGHT_GRID = 11119017;  // RGB(169, 169, 169)
constexpr std::uint32_t DARK_GRID = 5592405;    // RGB(85, 85, 85)

}  // namespace

s_rect grown_rect(const s_rect& area, int d)
{
    return {area.left - d, area.top - d, area.right + d, area.bottom + d};
}

void draw_plot_frame(drawing_surface& surface, const s_rect& plot, const s_brush& background)
{
    surface.fill_rect(grown_rect(plot, 4), background);
    const brush_kind rings[] = {brush_kind::grey, brush_kind::light_grey, brush_kind::light_grey, brush_kind::grey,
                                brush_kind::dark_grey};
    int d = 4;
    for (const brush_kind ring : rings) {
        surface.frame_rect(grown_rect(plot, d--), {ring});
    }
}

s_grid_colours grid_colours(bool light_background)
{
    return light_background ? s_grid_colours{DARK_GRID, LIGHT_GRID} : s_grid_colours{LIGHT_GRID, DARK_GRID};
}

bool is_light_colour(std::uint32_t colour)
{
    const unsigned red = colour & 0xFF;
    const unsigned green = (colour >> 8) & 0xFF;
    const unsigned blue = (colour >> 16) & 0xFF;
    return 299 * red + 587 * green + 114 * blue > 128 * 1000;
}
