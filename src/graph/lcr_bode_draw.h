// The Bode view of the LCR graph (kind 0): two quantities of the shown
// sweep against frequency, plot A on the left axis and plot B, when it has
// data, on the right.
//
// Drawn from the live settings record as it stands (its ranges come from
// the graph's rescale step, rescale_lcr_bode_graph, run after new data and
// every settings command, not on every paint) and from what the LCR view
// owns, given here: the plotted quantities, the cursors' points and whether
// the main window's settings panel is hidden.
//
// The area around the plot is left as the caller filled it (the window's
// own colour); the plot is black or white by the record's background.
#pragma once

#include "fra/lcr_layout.h"
#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"

struct s_lcr_bode_view {
    int layout = LCR_LAYOUT_BASIC;
    int plot_a_value = 3;     // value index plotted by plot A (1 up)
    int plot_b_value = 0;     // value index plotted by plot B; 0 for none
    bool settings_hidden = false;
    int cursor_a = 0;         // the point of plot A's cursor
    int cursor_b = 0;         // the point of plot B's cursor
};

// The plot inside the graph area: 80 pixels in from the left and right, 10
// from the top, 70 from the bottom (130 while the settings panel is hidden).
s_rect lcr_bode_plot_rect(const s_rect& area, bool settings_hidden);

void draw_lcr_bode(drawing_surface& surface, const s_rect& area, const s_graph_settings& settings,
                   const s_lcr_sweep& sweep, const s_lcr_bode_view& view);
