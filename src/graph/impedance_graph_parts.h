// What the LCR Bode, LCR Nyquist and EIS graphs draw alike: the plot's
// background and grid pens from the settings record, the pen of a plot's
// curve, the read-out row's place and texts, and the points a cursor may
// stand on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"
#include "graph/plot_frame.h"

bool white_background(const s_graph_settings& settings);
// The plot's background brush, black or white by bg_colour.
s_brush plot_background(const s_graph_settings& settings);
// The grid pens; plot A's axis is the reference axis.
s_grid_pens impedance_grid_pens(const s_graph_settings& settings);
std::uint32_t plot_colour(const s_graph_settings& settings, int plot);
// Solid, 1, 2 or 3 pixels wide by weight, in the plot's colour.
s_pen plot_curve_pen(const s_graph_settings& settings, int plot);

// The frame, the transparent text and the normal black font every graph
// starts from.
void begin_impedance_graph(drawing_surface& surface, const s_rect& plot, const s_graph_settings& settings);

// The points a sweep block holds that may be read (its count held to the block).
int drawn_points(const s_lcr_sweep& sweep);
// A cursor's point held to the block; absent when the block has no point.
std::optional<int> cursor_point(const s_lcr_sweep& sweep, int cursor);

// "name: value unit", the value through format_eng ("Frequency: 1.0000 kHz").
std::string readout_text(const char* name, double value, const char* unit);

// The read-out row's top left corner: 50 pixels in from the area's left and
// 43 pixels above its bottom, 50 higher while the settings panel is hidden.
int readout_left(const s_rect& area);
int readout_top(const s_rect& area, bool settings_hidden);

// The device pixel of an offset pair from the plot's origin (left, bottom),
// when both offsets are present and lie on the plot.
struct s_plot_pixel {
    int x;
    int y;
};
std::optional<s_plot_pixel> pixel_on_plot(const s_rect& plot, std::optional<double> x, std::optional<double> y);
