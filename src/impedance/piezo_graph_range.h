// The ranges of the Piezo graph: frequency and impedance magnitude of the
// shown block, both drawn on logarithmic axes by the renderer.
#pragma once

#include "fra/sweep_records.h"

struct s_piezo_graph_range {
    double frequency_min;  // Hz
    double frequency_max;
    double impedance_min;  // Ohms
    double impedance_max;
    // False when no point took part in the searches (an empty block, or only
    // values that are not finite): the ranges then hold what the searches
    // leave behind, inverted, and the renderer draws an empty frame.
    bool found;
};

// Frequency: the smallest and largest value 0 of the block's points, the
// search starting from 1e9 and 0 as every frequency search of the program's
// graphs; a flat span (below 1e-13) gets 10 Hz more at the top and a minimum
// of 0 becomes 1 Hz.
// Impedance: 0.8 x the smallest to 1.2 x the largest value 3, the search
// starting from 100000 and -50000, so with every |Z| above 100 kOhm the
// bottom stays at 80 kOhm.
// Values that are not finite take no part; a point count outside 0 to
// SWEEP_MAX_POINTS reads as an empty block.
s_piezo_graph_range piezo_graph_range(const s_lcr_sweep& block);
