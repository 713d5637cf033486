// Drawing the test graph: the Bode graph of the stored tests of the test
// graph window, over any drawing surface (the window's memory surface, a
// bitmap for a file or the clipboard, an SVG picture, a recording).
//
// In drawing order: the plot's frame and background, the titles, the gain
// and phase axes with their grid, the frequency axis, the legend band, each
// test's visible curves, its margin marks and labels, the combined (multiple
// feedback loop) response, and the cursor read-outs of the selected test.
//
// Drawing never fails: a frequency or gain range that cannot be drawn (not
// finite, empty or inverted, as the automatic ranges leave it without
// points) gives the frame, the titles and the legend only; points that
// cannot be placed (not finite, or 0 Hz and below on a logarithmic axis) are
// left out with the segments that join them.
#pragma once

#include <cstdint>
#include <optional>

#include "graph/drawing_surface.h"
#include "graph/test_graph.h"

// What the window holds beside the graph's state: the crossings of the
// selected test that its two scroll bars choose for the read-outs (indices
// into its 0 dB and 0 degree lists; out-of-range indices are held to the
// lists).
struct s_test_graph_cursors {
    int zero_db = 0;
    int zero_phase = 0;
};

// Draws the graph into area (the graph part of the window). for_bitmap is
// set when the drawing goes to a bitmap file or the clipboard: the plot then
// ends 90 pixels above the area's bottom instead of 150, and the legend sits
// 15 pixels higher.
void draw_test_graph(const s_test_graph_state& graph, const s_test_graph_cursors& cursors, drawing_surface& surface,
                     const s_rect& area, bool for_bitmap);

// The plot rectangle of the graph in area.
s_rect test_graph_plot_rect(const s_rect& area, bool for_bitmap);

// The first degree of the phase axis for the instrument's phase range
// setting: -180 for 0, -360 for 1, 0 for 2 (others as 0: -180).
int test_graph_phase_start(std::int32_t phase_range_setting);

// The colours the graph draws a test's curves and margin marks in
// (0x00BBGGRR), and its background and foreground (the legend's name text).
std::uint32_t test_gain_colour(const s_plot_appearance& appearance);
std::uint32_t test_phase_colour(const s_plot_appearance& appearance);
std::uint32_t test_gain_margin_colour(const s_plot_appearance& appearance);
std::uint32_t test_phase_margin_colour(const s_plot_appearance& appearance);
std::uint32_t test_graph_background_colour(const s_test_graph_state& graph);
