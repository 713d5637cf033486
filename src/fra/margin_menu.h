// The margin items of the test graph's menus as changes of the plots'
// state: each plot's "Gain Phase Margins" visibility items and the
// "Analyze" menu's "Filter &Noise" command. The menus themselves are built by
// the window from this state.
#pragma once

#include "app/user_prompt.h"
#include "fra/test_graph_hooks.h"
#include "graph/test_graph.h"

// "Gain Phase Margins" is listed under a plot only once the search has run
// for it.
bool margin_menu_listed(const s_plot_appearance& look);
// "Hidden" is enabled only when one of the plot's lists holds more than one
// crossing.
bool margins_hidden_enabled(const s_test_plot& plot);

// "Gain" and "Phase" toggle the marks of the 0 dB and the 0 degree crossings,
// then the graph is redrawn.
void toggle_gain_margin_visible(s_plot_appearance& look, test_graph_hooks& hooks);
void toggle_phase_margin_visible(s_plot_appearance& look, test_graph_hooks& hooks);
// "Hidden" toggles margins_hidden; the labels are laid out again and drawn.
void toggle_margins_hidden(s_plot_appearance& look, test_graph_hooks& hooks);

// "Filter &Noise" is disabled as the menu is loaded, and nothing enables it.
inline constexpr bool filter_noise_enabled_at_load = false;
// Its command, should it arrive: when the plot selected in the window's plot
// list has no 0 dB crossing yet, "Find Gain/Phase Margins" runs first (as the
// menu runs it, not quiet); then every plot's band_mode changes between 1
// and 0, and the graph is redrawn.
void filter_noise(s_test_graph_state& graph, user_prompt& prompt, test_graph_hooks& hooks);
