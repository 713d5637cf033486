// Changing the scale of an impedance graph axis, and what else changes with
// it. A value axis made logarithmic loses its padding (pad type none), a
// centre 0 or nearest 0 range becomes automatic, and a manual minimum below
// 1e-6 is raised to 1e-6. From the graph's pop-up menu only a change to
// logarithmic does that; from the settings dialog a change either way does,
// and also switches the axis' reversal off. Choosing the scale an axis
// already has changes nothing. The horizontal axis only takes its new scale.
#pragma once

#include <cstdint>

#include "graph/graph_settings.h"

enum class scale_change_source { popup_menu, settings_dialog };

// Plot A or B (PLOT_A, PLOT_B) to AXIS_LOG or AXIS_LINEAR; any other plot
// changes nothing.
void change_plot_axis_scale(s_graph_settings& record, int plot, std::int32_t scale, scale_change_source source);

void change_horizontal_axis_scale(s_graph_settings& record, std::int32_t scale);
