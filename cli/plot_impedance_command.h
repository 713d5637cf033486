// plot lcr-bode|lcr-nyquist|eis|piezo FILE --out FILE.svg [--size WxH] [--white]
//
// An impedance sweep file (as "analyze eis" reads it: an import file or an
// LCR sweep data file) drawn as the LCR window's Bode or Nyquist graph, the
// EIS graph with the Randles cell's points marked, or the Piezo graph, into
// an SVG picture. The impedance graphs take the settings the program has
// saved for their kind (the defaults without a settings folder).
#pragma once

#include "cli_context.h"

enum plot_impedance_kind : int {
    PLOT_IMPEDANCE_LCR_BODE = 0,
    PLOT_IMPEDANCE_LCR_NYQUIST = 1,
    PLOT_IMPEDANCE_EIS = 2,
    PLOT_IMPEDANCE_PIEZO = 3,
};

int run_plot_impedance(cli_context& context, int kind);

// The entries of the command table, one per kind.
int run_plot_lcr_bode(cli_context& context);
int run_plot_lcr_nyquist(cli_context& context);
int run_plot_eis(cli_context& context);
int run_plot_piezo(cli_context& context);
