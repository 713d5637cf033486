// The Piezo graph: impedance magnitude (value 3) and phase (value 4) of the
// shown sweep against frequency, on logarithmic frequency and impedance
// axes over the ranges of piezo_graph_range, and a phase axis of 360
// degrees from the start the block's phase convention gives.
//
// Two forms: the Piezo view's (a black plot, curves 1 pixel wide) and the
// Piezo report's picture (a white plot, curves 2 pixels wide, the side
// titles turned the other way). The area around the plot is left as the
// caller filled it; texts are black unless coloured.
//
// A block whose ranges could not be found (no point with finite values), or
// whose ranges cannot be drawn on logarithmic axes, gives the frame and the
// titles only.
#pragma once

#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"

// The Piezo view's two display options, how far the impedance lines and the
// phase lines reach into the plot; both start at PIEZO_LINES_SHORT.
inline constexpr int PIEZO_LINES_TICKS = 0;   // 5-pixel ticks outside the plot
inline constexpr int PIEZO_LINES_SHORT = 1;   // short lines from the plot's edge
inline constexpr int PIEZO_LINES_ACROSS = 2;  // decade and phase lines across the plot

struct s_piezo_grid {
    int impedance_lines = PIEZO_LINES_SHORT;
    int phase_lines = PIEZO_LINES_SHORT;
};

// The plot inside the graph area: 80 pixels in from the left and right, 10
// from the top, 50 from the bottom.
s_rect piezo_plot_rect(const s_rect& area);

void draw_piezo_graph(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep,
                      const s_piezo_grid& grid);
void draw_piezo_graph_picture(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep,
                              const s_piezo_grid& grid);
