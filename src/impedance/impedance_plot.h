// One impedance graph of a sweep block drawn into a picture of its own, as
// the command-line tool writes it: the graph the LCR, EIS or Piezo window
// would show for the block just imported, over the whole picture.
//
// The area is filled white, as the tool's every picture, then the window's
// steps run on the given settings record:
//   Bode:     the rescale step with plot A |Z| (value 3) and plot B the
//             phase (value 4), both cursors on the first point;
//   Nyquist:  the two Nyquist ranges, recomputed by the drawing;
//   EIS:      as Nyquist, with the points of the Randles cell analysis
//             (default tuning) marked;
//   Piezo:    the view's graph with both display options at their start,
//             or the report's picture when white is asked for.
// White gives the impedance graphs a white background.
#pragma once

#include "fra/sweep_records.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings.h"

enum class impedance_plot_kind { lcr_bode, lcr_nyquist, eis, piezo };

struct s_impedance_plot {
    impedance_plot_kind kind = impedance_plot_kind::lcr_bode;
    bool white = false;
};

// The Bode graph's two quantities in the tool.
inline constexpr int IMPEDANCE_PLOT_A_VALUE = 3;
inline constexpr int IMPEDANCE_PLOT_B_VALUE = 4;

// The graph settings kind the plot reads (the Piezo graph has none: -1).
int impedance_plot_settings_kind(impedance_plot_kind kind);

// The graph over the whole area. settings is the record loaded for the
// kind; it is changed as the window changes its live record (ranges,
// background). Unused for the Piezo graph.
void draw_impedance_plot(drawing_surface& surface, const s_rect& area, const s_impedance_plot& plot,
                         const s_lcr_sweep& sweep, int layout, s_graph_settings& settings);
