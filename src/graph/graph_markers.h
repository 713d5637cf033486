// The markers graphs put on points, centred on x, y, outlined with the pen
// selected last.
#pragma once

#include <cstdint>

#include "graph/drawing_surface.h"

inline constexpr int SQUARE_MARKER_SIDE = 8;
inline constexpr int DIAMOND_MARKER_WIDTH = 10;
inline constexpr int CURSOR_MARKER_RADIUS = 3;

void draw_square_marker(drawing_surface& surface, int x, int y);
void draw_diamond_marker(drawing_surface& surface, int x, int y);
// A circle filled with the colour.
void draw_circle_marker(drawing_surface& surface, int x, int y, int radius, std::uint32_t fill);
