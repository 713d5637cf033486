// The EIS window's Nyquist graph (kind 2), also the EIS report's picture:
// the Nyquist graph of the shown sweep with the EIS settings, and the three
// points the Randles cell analysis read: the arc's start (smallest Z') and
// its marked end as squares, its top (largest |Z''|) as a diamond, each only
// when the analysis found it, in white on a black plot and black on a white
// one.
#pragma once

#include "fra/lcr_layout.h"
#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"
#include "impedance/eis_analysis.h"

// The EIS window's bottom margin when the window gives none of its own: the
// LCR window's Nyquist view's.
inline constexpr int EIS_GRAPH_BOTTOM_MARGIN = 90;

struct s_eis_nyquist_view {
    int layout = LCR_LAYOUT_BASIC;
    int bottom_margin = EIS_GRAPH_BOTTOM_MARGIN;  // the EIS window's, below the plot
    int cursor = 0;                               // the point of plot A's cursor
    const eis_result* analysis = nullptr;         // the points to mark; none when nullptr
};

// The plot inside the graph area: 80 pixels in from the left, 10 from the
// top, 30 from the right and the bottom margin from the bottom.
s_rect eis_nyquist_plot_rect(const s_rect& area, int bottom_margin);

// Recomputes the two Nyquist ranges into the live record, then draws. The
// cursor's read-out row starts 47 pixels below the plot.
void draw_eis_nyquist(drawing_surface& surface, const s_rect& area, s_graph_settings& settings,
                      const s_lcr_sweep& sweep, const s_eis_nyquist_view& view);
