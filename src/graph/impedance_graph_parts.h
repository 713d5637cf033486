// What the LCR Bode, LCR Nyquist and EIS graphs draw alike: the plot's
// background and grid pens from the settings record, the pen of a plot's
// curve, the read-out row's place and texts, and the points a cursor may
// stand on.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "fra/sweep_records.h"
#include "graph/axis_marks_draw.h"
#include "graph/clipped_curve.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"

// False when an area too small for its graph leaves the plot no width or no
// height: the graph then draws nothing at all.
bool plot_has_room(const s_rect& plot);

bool white_background(const s_graph_settings& settings);
// The plot's background brush, black or white by bg_colour.
s_brush plot_background(const s_graph_settings& settings);
// The grid pens, 1 pixel wide in the grid colours of the background. Plot
// A's axis is the reference axis: the minor lines are dotted when it is
// linear and solid when it is logarithmic.
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

// An offset pair as a point of a curve, when both are present.
std::optional<s_plot_offset> plot_offset(std::optional<double> x, std::optional<double> y);

// The device pixel of an offset pair from the plot's origin (left, bottom),
// when both offsets are present and lie on the plot.
struct s_plot_pixel {
    int x;
    int y;
};
std::optional<s_plot_pixel> pixel_on_plot(const s_rect& plot, std::optional<double> x, std::optional<double> y);
