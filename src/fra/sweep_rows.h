// The text row of one sweep point, as the views show it in their lists and as
// the sweep data file holds it: the list row and the file row are the same
// text. Index from 1, the frequency as "%.4lf", every further value as "%.5E"
// with a three-digit exponent, fields separated by tabs, no line end.
#pragma once

#include <string>

#include "fra/sweep_records.h"

// Two-channel: index, frequency, values 1 to 5; three-channel: values 1 to 9.
// A real-time FRA sweep always uses the two-channel row.
std::string fra_sweep_row(int index, const s_fra_result& point, bool three_channel);
// Index, frequency, then the further values of the layout.
std::string lcr_sweep_row(int index, const s_lcr_result& point, int layout);
// A real-time LCR sweep: index, frequency, values 1 to 7, whatever the layout.
std::string lcr_realtime_row(int index, const s_lcr_result& point);
