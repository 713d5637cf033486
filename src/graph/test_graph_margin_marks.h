// The test graph's marks of the margin search: each test's crossings marked
// on its curves with their labels, and the cursor read-outs of the selected
// test.
//
// A test's 0 dB crossings are marked with squares on the gain curve (where
// the gain is 0 dB) while gain_margin_visible is set, its 0 degree crossings
// with diamonds on the phase curve while phase_margin_visible is set, each in
// its margin colour, once the search has run (margins_found). Beside each
// mark a label gives the crossing's frequency and the margin read there:
// "123.29 Hz  -152.9°" (the phase at a 0 dB crossing) and "173.45 Hz  -6.0dB"
// (the gain at a 0 degree crossing). Labels are kept inside the plot and
// moved down, clear of the labels placed before them.
//
// "Hidden" (margins_hidden) leaves only the best crossing of each list
// marked and labelled (the longest run, the one the margin band is taken
// from), hiding the others, which are mostly noise of a flat stretch.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "graph/drawing_surface.h"
#include "graph/test_graph.h"
#include "graph/test_graph_draw.h"
#include "graph/test_graph_geometry.h"

struct s_margin_label {
    std::string text;
    s_rect box;
    std::uint32_t colour;
};

// The labels of every mark, in drawing order, placed in the plot; extents
// are measured in the interface font of the surface.
std::vector<s_margin_label> lay_out_margin_labels(drawing_surface& surface, const s_test_graph_state& graph,
                                                  const s_test_graph_geometry& geometry);

void draw_margin_marks(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& geometry);

// The selected test's read-outs of the crossings the cursors choose: a
// dashed line in the margin colour from the plot's edge (the gain axis for a
// 0 dB crossing, the phase axis for a 0 degree one) to the crossing and on
// to the other curve, with a circle at both points, while the cursor is
// shown; and, whether it is shown or not, a box of a third of the plot's
// width 115 pixels below the plot (left for 0 dB, right for 0 degrees) with
// the crossing's frequency, gain and phase in bold in the curve's colour. A
// box that falls outside the graph area (a bitmap's shorter margin) is left
// out.
void draw_cursor_readouts(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_cursors& cursors,
                          const s_test_graph_geometry& geometry);

// The read-out texts of a 0 dB and of a 0 degree crossing.
std::string zero_db_readout_text(const s_gain_phase_point& crossing);
std::string zero_phase_readout_text(const s_gain_phase_point& crossing);
