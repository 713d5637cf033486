// Automatic ranges of the test graph: the frequency axis over every point of
// every test, the gain axis over the points within that frequency range, and
// the gain axis centred on 0 dB.
//
// With no point to search, each search still stores what it leaves behind,
// an inverted range (minimum above maximum), and says so: the renderer then
// draws an empty frame.
#pragma once

#include "graph/test_graph.h"

enum class test_range_search { found, no_points };

// frequency_min and frequency_max: the smallest and largest frequency of all
// tests' points (a flat span gets 10 Hz more at the top; a minimum of 0
// becomes 1 Hz).
test_range_search autoscale_test_frequency(s_test_graph_state& state);

// gain_min and gain_max: the smallest and largest gain of the points within
// frequency_min to frequency_max, of all tests and of the combined response
// when there is one, taken out to whole tens of dB (a flat span first gets
// 10 dB more at each end).
test_range_search autoscale_test_gain(s_test_graph_state& state);

// The gain range made symmetric about 0 dB around its larger end.
void centre_test_gain(s_test_graph_state& state);
