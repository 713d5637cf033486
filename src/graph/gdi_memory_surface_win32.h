// Drawing through a memory bitmap: the way every graph window paints
// without flicker, and the way a graph becomes a bitmap for a file or the
// clipboard. The bitmap is made compatible with the WINDOW's device context
// (one compatible with a fresh memory context would be monochrome).
#pragma once

#include <windows.h>

#include <functional>

#include "graph/drawing_surface.h"
#include "graph/pixel_image.h"

// What is drawn: given the surface and the rectangle to draw in.
using graph_drawing = std::function<void(drawing_surface& surface, const s_rect& area)>;

// A new bitmap of width x height compatible with reference_dc, filled with
// the background brush and drawn into (area 0, 0, width, height). The caller
// owns it (DeleteObject); nullptr when it cannot be made.
HBITMAP draw_into_bitmap(HDC reference_dc, int width, int height, HBRUSH background, const graph_drawing& draw);

// Paints the area of the window's device context: the background and the
// drawing (in the area's own coordinates) into a memory bitmap, then one
// block copy to the window. False when no memory bitmap could be made.
bool paint_through_memory(HDC window_dc, const RECT& area, HBRUSH background, const graph_drawing& draw);

// The bitmap's pixels (it must not be selected into a device context) as
// 24-bit rows, top row first. False, image emptied, when they cannot be read.
bool read_bitmap_pixels(HBITMAP bitmap, s_pixel_image& image);
