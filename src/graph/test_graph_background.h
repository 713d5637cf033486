// Choosing the test graph's background. The margin marks must stay visible
// against it: on a black background every margin colour that is black turns
// white, on a white one every margin colour that is white turns black. A
// custom background (its colour set by the caller) leaves them as they are.
#pragma once

#include <cstdint>

#include "graph/test_graph.h"

// mode is TEST_BACKGROUND_BLACK, TEST_BACKGROUND_WHITE or TEST_BACKGROUND_CUSTOM.
void choose_test_graph_background(s_test_graph_state& state, std::int32_t mode);
