// The impedance kinds of plot: lcr-bode, lcr-nyquist, eis and piezo, each
// on one impedance sweep file (as "analyze eis" reads it: an import file or
// an LCR sweep data file), drawn as the LCR window's Bode or Nyquist graph,
// the EIS graph with the Randles cell's points marked, or the Piezo graph.
// The impedance graphs take the settings the program has saved for their
// kind (the defaults without a settings folder).
#pragma once

#include <functional>
#include <string>

#include "cli_context.h"
#include "graph/drawing_surface.h"

enum plot_impedance_kind : int {
    PLOT_IMPEDANCE_LCR_BODE = 0,
    PLOT_IMPEDANCE_LCR_NYQUIST = 1,
    PLOT_IMPEDANCE_EIS = 2,
    PLOT_IMPEDANCE_PIEZO = 3,
};

// What plot draws: a graph over an area of its picture.
using impedance_plot_drawing = std::function<void(drawing_surface& surface, const s_rect& area)>;

// Reads the sweep file (the reason printed and false when it is refused,
// and for the Piezo graph an admittance sweep) and the graph settings of the
// kind; draw then draws the graph, white for --white.
bool load_impedance_plot(const cli_context& context, int kind, const std::string& file, bool white,
                         impedance_plot_drawing& draw);
