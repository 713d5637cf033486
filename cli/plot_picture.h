// The tool's graph pictures: SVG in every build, and on Windows also 24-bit
// bitmaps drawn through the system's graphics on a memory bitmap.
#pragma once

#include <functional>
#include <string>

#include "graph/drawing_surface.h"

using plot_drawing = std::function<void(drawing_surface& surface, const s_rect& area)>;

// The SVG document of the drawing at width x height.
std::string plot_svg_document(int width, int height, const plot_drawing& draw);

// Whether this build writes bitmap pictures.
bool plot_bitmaps_written();

// Draws into a width x height bitmap and writes it to path (a 24-bit bitmap
// file); false when it cannot.
bool write_plot_bitmap(const std::string& path, int width, int height, const plot_drawing& draw);
