// The Nyquist view of the LCR graph (kind 1): Imaginary Z against Real Z'
// of the shown sweep. The two Nyquist ranges are recomputed into the live
// record before every drawing. The area around the plot is left as the
// caller filled it.
#pragma once

#include "fra/lcr_layout.h"
#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"

struct s_lcr_nyquist_view {
    int layout = LCR_LAYOUT_BASIC;
    bool settings_hidden = false;
    int cursor = 0;  // the point of plot A's cursor
};

// The plot inside the graph area: 80 pixels in from the left, 10 from the
// top, 30 from the right, 90 from the bottom (150 while the settings panel
// is hidden).
s_rect lcr_nyquist_plot_rect(const s_rect& area, bool settings_hidden);

void draw_lcr_nyquist(drawing_surface& surface, const s_rect& area, s_graph_settings& settings,
                      const s_lcr_sweep& sweep, const s_lcr_nyquist_view& view);
