// The plot area every graph draws into: its background and sunken border,
// and the pens of its grid lines.
#pragma once

#include <cstdint>

#include "graph/colour_value.h"
#include "graph/drawing_surface.h"

// Grid colours: the lighter grey is the major line on a black background and
// the minor line on a white one, the darker grey the other way round.
inline constexpr std::uint32_t GRID_LIGHT_GREY = rgb_colour(169, 169, 169);
inline constexpr std::uint32_t GRID_DARK_GREY = rgb_colour(85, 85, 85);

// False when an area too small for its graph leaves the plot no width or no
// height: the graph then draws nothing at all.
inline bool plot_has_room(const s_rect& plot)
{
    return plot.width() > 0 && plot.height() > 0;
}

// The plot rectangle grown by 4 pixels on each side, filled with the
// background, then framed five times, one pixel further in each time: grey,
// light grey twice, grey, dark grey (a sunken border).
void draw_plot_frame(drawing_surface& surface, const s_rect& plot, const s_brush& background);

struct s_grid_pens {
    s_pen major;  // decade lines: solid, 1 pixel
    s_pen minor;  // 1 pixel; dotted when the reference axis is linear
};

// The grid pens on a white or black background. The reference axis (the
// frequency axis of the test graph, plot A's axis on the impedance graphs)
// decides whether the minor lines are dotted (linear) or solid (logarithmic).
s_grid_pens grid_pens(bool white_background, bool reference_axis_linear);
