// The margin band of a plotted test: the frequencies between its best 0 dB
// crossing and its best 0 degree crossing, within which the curves are drawn
// when the band is chosen (band_mode 0).
#pragma once

#include <cstdint>

#include "fra/llist.h"
#include "graph/test_graph.h"

// The crossing with the largest run length, the first of them on ties;
// nullptr for an empty list.
const s_gain_phase_point* best_crossing(const LList<s_gain_phase_point>& crossings);

// A frequency cut to whole hertz towards zero, held within the 32-bit range
// (not-a-number gives 0).
std::int32_t whole_hertz(double frequency);

// Computes the band once: skipped while band_found is set, and nothing is
// set while either list is empty. Otherwise band_low and band_high take the
// smaller and the larger of the two best crossings' frequencies, band_found
// is set and band_mode becomes 1 (the whole axis).
void compute_margin_band(s_test_plot& plot);
