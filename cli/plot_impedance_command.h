// plot lcr-bode|lcr-nyquist|eis|piezo FILE --out FILE.svg [--size WxH] [--white]
//
// An impedance sweep file (as "analyze eis" reads it: an import file or an
// LCR sweep data file) drawn as the LCR window's Bode or Nyquist graph, the
// EIS graph with the Randles cell's points marked, or the Piezo graph, into
// an SVG picture. The impedance graphs take the settings the program has
// saved for their kind (the defaults without a settings folder).
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

int run_plot_impedance(cli_context& context, int kind);

// The part of the command that reads: the sweep file (the reason printed
// when it is refused, false then) and the graph settings of the kind; draw
// then draws the graph over an area of a picture.
using impedance_plot_drawing = std::function<void(drawing_surface& surface, const s_rect& area)>;
bool load_impedance_plot(const cli_context& context, int kind, const std::string& file, bool white,
                         impedance_plot_drawing& draw);

// The entries of the command table, one per kind.
int run_plot_lcr_bode(cli_context& context);
int run_plot_lcr_nyquist(cli_context& context);
int run_plot_eis(cli_context& context);
int run_plot_piezo(cli_context& context);
