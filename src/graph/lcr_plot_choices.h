// What the Bode view of the LCR graph can plot: the quantities of the current
// LCR result layout code, in the order of the point's values. Choice i is
// value index i of an s_lcr_result (value 0, the frequency, is never a
// choice), so the name of choice i is names[i - 1]. Plot A always plots one
// of them; plot B may plot none (choice 0). Windows-1252 text ("Tan\xF0" is
// the program's own spelling of tan delta).
#pragma once

#include <span>

// The quantities of a layout code; codes other than 6, 7 and 8 read like 3.
std::span<const char* const> lcr_plot_choices(int layout);
