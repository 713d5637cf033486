// The marks graphs put on their curves: a square of side 8 (0 dB
// crossings), a diamond 10 wide (0 degree crossings) and a circle of radius
// 3 (cursor points), each centred on its point.
#pragma once

#include <cstdint>

#include "graph/drawing_surface.h"

inline constexpr int SQUARE_MARKER_SIDE = 8;
inline constexpr int DIAMOND_MARKER_WIDTH = 10;
inline constexpr int CURSOR_CIRCLE_RADIUS = 3;

// Outlines in a two-pixel pen of the colour (the pen stays selected).
void draw_square_marker(drawing_surface& surface, int x, int y, std::uint32_t colour);
void draw_diamond_marker(drawing_surface& surface, int x, int y, std::uint32_t colour);
// A circle outlined in the selected pen and filled with the brush.
void draw_cursor_circle(drawing_surface& surface, int x, int y, const s_brush& fill);
