#include "graph/graph_markers.h"

namespace {

void outline(drawing_surface& surface, const int (&corners)[4][2])
{
    surface.move_to(corners[3][0], corners[3][1]);
    for (const auto& corner : corners) {
        surface.line_to(corner[0], corner[1]);
    }
}

}  // namespace

void draw_square_marker(drawing_surface& surface, int x, int y, std::uint32_t colour)
{
    surface.select_pen({pen_style::solid, 2, colour});
    constexpr int h = SQUARE_MARKER_SIDE / 2;
    outline(surface, {{x - h, y - h}, {x + h, y - h}, {x + h, y + h}, {x - h, y + h}});
}

void draw_diamond_marker(drawing_surface& surface, int x, int y, std::uint32_t colour)
{
    surface.select_pen({pen_style::solid, 2, colour});
    constexpr int h = DIAMOND_MARKER_WIDTH / 2;
    outline(surface, {{x, y - h}, {x + h, y}, {x, y + h}, {x - h, y}});
}

void draw_cursor_circle(drawing_surface& surface, int x, int y, const s_brush& fill)
{
    constexpr int r = CURSOR_CIRCLE_RADIUS;
    surface.ellipse({x - r, y - r, x + r + 1, y + r + 1}, fill);
}
