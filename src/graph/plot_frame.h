// What every graph's plot shares: the sunken frame around its plot
// rectangle and the colours of its grid lines on a dark or light background.
#pragma once

#include <cstdint>

#include "graph/drawing_surface.h"

// The plot rectangle grown by 4 pixels on each side and filled with the
// background, then framed five times, one pixel further in each time, with
// the grey, light grey, light grey, grey and dark grey brushes: a sunken
// border whose innermost ring is the plot rectangle's own edge.
void draw_plot_frame(drawing_surface& surface, const s_rect& plot, const s_brush& background);

// The grid line colours (0x00BBGGRR): on a black background the major
// (decade) lines are the lighter grey, on a white one the darker.
struct s_grid_colours {
    std::uint32_t major;
    std::uint32_t minor;
};
s_grid_colours grid_colours(bool light_background);

// Whether a colour (0x00BBGGRR) is light enough for black text and the white
// background's grid colours: its luminance is above the middle.
bool is_light_colour(std::uint32_t colour);

// The rectangle grown by d pixels on every side (shrunk for negative d).
s_rect grown_rect(const s_rect& area, int d);
