#include "graph/graph_markers.h"

void draw_square_marker(drawing_surface& surface, int x, int y)
{
    constexpr int half = SQUARE_MARKER_SIDE / 2;
    surface.move_to(x - half, y - half);
    surface.line_to(x + half, y - half);
    surface.line_to(x + half, y + half);
    surface.line_to(x - half, y + half);
    surface.line_to(x - half, y - half);
}

void draw_diamond_marker(drawing_surface& surface, int x, int y)
{
    constexpr int half = DIAMOND_MARKER_WIDTH / 2;
    surface.move_to(x, y - half);
    surface.line_to(x + half, y);
    surface.line_to(x, y + half);
    surface.line_to(x - half, y);
    surface.line_to(x, y - half);
}

void draw_circle_marker(drawing_surface& surface, int x, int y, int radius, std::uint32_t fill)
{
    surface.ellipse({x - radius, y - radius, x + radius, y + radius}, solid_brush(fill));
}
