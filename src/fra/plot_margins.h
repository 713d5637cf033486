// The graph window's gain and phase margin search ("Find Gain/Phase
// Margins"): every plotted test's 0 dB and 0 degree crossings kept in its two
// lists, the margin flags of its appearance and its margin band.
//
// Each crossing carries a run length, the number of segments it stands for:
// - a 0 dB crossing counts forward: the segments after its own up to and
//   including the next crossing's, or up to the last segment for the last
//   crossing; segments before the first crossing are not counted;
// - a 0 degree crossing counts backward: the segments after the previous
//   crossing's up to and including its own. The first 0 degree crossing
//   counts from the first segment (segment 0) on, that segment included, so
//   its run length is its segment number + 1: no earlier run has claimed
//   segment 0. So the 0 degree runs share out segments 0 to the last
//   crossing's, each counted once, as the 0 dB runs share out the segments
//   after the first crossing up to the last.
#pragma once

#include <string>

#include "app/user_prompt.h"
#include "fra/crossing_search.h"
#include "fra/test_graph_hooks.h"
#include "graph/test_graph.h"

// What a search of the plot without crossings of kind tells:
// "On <name>: \nNo gain 0dB point found" or "On <name>: \nNo 0 Phase point found".
std::string plot_no_crossing_text(const s_test_plot& plot, crossing_kind kind);

// Search every plot that has points: its 0 dB list is emptied and refilled
// (gain 0 and the interpolated phase); a plot with a crossing gets
// margins_found. Unless quiet, each plot without one is told as
// "On <name>: \nNo gain 0dB point found" (caption "Corvexa2", information).
void find_plot_zero_db_points(s_test_graph_state& graph, bool quiet, user_prompt& prompt);
// The same for 0 degrees (the interpolated gain and phase 0): a plot with a
// crossing gets phase_margin_visible and margins_found; the message ends in
// "No 0 Phase point found".
void find_plot_zero_phase_points(s_test_graph_state& graph, bool quiet, user_prompt& prompt);

// "Find Gain/Phase Margins": both searches, then the band of every plot,
// then the menus are rebuilt, the margin labels laid out and the graph
// redrawn through the hooks.
void find_gain_phase_margins(s_test_graph_state& graph, bool quiet, user_prompt& prompt, test_graph_hooks& hooks);
