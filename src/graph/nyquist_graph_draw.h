// The Nyquist graph shared by the LCR window's Nyquist view (kind 1) and
// the EIS window (kind 2): Imaginary Z against Real Z' of the shown sweep,
// with plot A's settings on the vertical axis.
//
// Drawn in two steps so that the EIS graph can mark its analysis' points
// between the curve and the cursor: draw_nyquist_graph draws the plot, its
// titles, axes and curve, and returns the axes as drawn; then
// draw_nyquist_cursor draws plot A's cursor and its read-out.
#pragma once

#include <optional>

#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/drawn_axis.h"
#include "graph/graph_settings.h"
#include "graph/impedance_graph_parts.h"

// The axes as drawn, with the record the mapping reads them from (its
// horizontal start lifted to 1e-6 on a logarithmic axis that starts at 0 or
// below). An absent axis could not be drawn: the graph then shows its frame
// and titles only.
struct s_nyquist_axes {
    s_rect plot;
    int layout = 0;
    s_graph_settings drawn{};
    std::optional<s_drawn_axis> real;
    std::optional<s_drawn_axis> imaginary;
};

// Recomputes the two Nyquist ranges into the live record from the sweep
// (as every paint does), then draws.
s_nyquist_axes draw_nyquist_graph(drawing_surface& surface, const s_rect& area, const s_rect& plot,
                                  s_graph_settings& settings, const s_lcr_sweep& sweep, int layout);

// Where a point lands on the plot, when it does.
std::optional<s_plot_pixel> nyquist_pixel(const s_nyquist_axes& axes, const s_lcr_result& point);

// With plot A's cursor set: the cursor's point circled in plot A's colour
// and joined to both axes by dotted lines, and the read-out row (frequency,
// Real Z', Imaginary Z'') from readout_x, readout_y.
void draw_nyquist_cursor(drawing_surface& surface, const s_nyquist_axes& axes, const s_lcr_sweep& sweep, int cursor,
                         int readout_x, int readout_y);
