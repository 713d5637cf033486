// Where things go on the test graph: the plot rectangle within the graph
// area and the three scales (frequency across, gain and phase up), shared
// by the parts of the test graph's drawing.
#pragma once

#include <optional>

#include "graph/clipped_curve.h"
#include "graph/drawing_surface.h"
#include "graph/frequency_axis.h"
#include "graph/test_graph.h"

struct s_test_graph_geometry {
    s_rect area;
    s_rect plot;
    int width = 0;   // of the plot
    int height = 0;
    // Absent when the frequency or the gain range cannot be drawn: then only
    // the frame, titles and legend are.
    std::optional<s_frequency_scale> frequency;
    double gain_min = 0;
    double pixels_per_db = 0;
    int phase_start = 0;
    double pixels_per_degree = 0;

    bool scaled() const { return frequency.has_value(); }
    // Offsets from the plot's left and bottom edges; absent for values that
    // cannot be placed.
    std::optional<double> x_of(double frequency) const;
    std::optional<double> y_of_gain(double gain) const;
    std::optional<double> y_of_phase(double phase) const;
    std::optional<s_plot_offset> gain_point(const s_test_graph_point& point) const;
    std::optional<s_plot_offset> phase_point(const s_test_graph_point& point) const;
};

s_test_graph_geometry test_graph_geometry(const s_test_graph_state& graph, const s_rect& area, bool for_bitmap);

// The graph's fonts: the interface font, the same turned to run upwards or
// downwards, and bold for the read-outs.
s_font normal_font();
s_font upward_font();
s_font downward_font();
s_font bold_font();

// The brush the plot and the legend are filled with, and the colour of texts
// inside them (white on black, black on white; on a custom colour whichever
// shows).
s_brush test_graph_background(const s_test_graph_state& graph);
std::uint32_t test_graph_foreground(const s_test_graph_state& graph);
bool test_graph_light_background(const s_test_graph_state& graph);
// The brush of the legend's and read-out boxes' frames.
s_brush test_graph_box_frame(const s_test_graph_state& graph);
