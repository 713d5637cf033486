// Automatic ranges of the impedance graphs, computed from the current LCR
// sweep block into the live graph settings record.
//
// Each routine returns true when it computed its axis, and false when
// nothing happened: the block holds no point with a finite value, the
// axis' range is manual, or the plot or value index names no data. The
// record is then left exactly as it was.
//
//   Bode graph (kind 0):     autoscale_frequency_axis, autoscale_plot_axis,
//                            and the graph's rescale step rescale_lcr_bode_graph
//   Nyquist and EIS graphs:  autoscale_nyquist_real_axis (horizontal, Real Z')
//                            autoscale_nyquist_imaginary_axis (plot A, Imaginary Z)
#pragma once

#include "fra/sweep_records.h"
#include "graph/graph_settings.h"

// Plot `plot` (PLOT_A or PLOT_B) from value `value_index` (1 to 12; 0 means
// the plot has no data) of every point. A logarithmic axis keeps the raw data
// minimum and maximum, with no centring, padding or reversal.
bool autoscale_plot_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int plot, int value_index);

// The horizontal axis of the Bode graph from the points' frequencies. The
// padding applies on a logarithmic axis too; a minimum that is then 0 or
// below becomes 1e-6 on a logarithmic axis.
bool autoscale_frequency_axis(s_graph_settings& settings, const s_lcr_sweep& sweep);

// The horizontal axis of a Nyquist graph from the points' Real Z' under the
// layout code. An axis whose ends are both negative is drawn reversed, as if
// x_range_flip were set (and exchanged only once when it is).
bool autoscale_nyquist_real_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int layout);

// The vertical axis of a Nyquist graph from the points' Imaginary Z under the
// layout code, with the plot A settings (always a linear axis).
bool autoscale_nyquist_imaginary_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int layout);

// The Bode graph's rescale step, run after every settings command and after
// new data: the frequency axis, then plot A, then plot B when it has data
// (plot_b_value 0 means none).
struct s_bode_rescale {
    int cursor_point;  // the point both cursors return to: always the first (0)
};
s_bode_rescale rescale_lcr_bode_graph(s_graph_settings& settings, const s_lcr_sweep& sweep, int plot_a_value,
                                      int plot_b_value);
