// Plotting stored tests on the test graph: a test loaded from the database
// (with its points) becomes a plot of its name and its (frequency, gain,
// phase) points, the gain being the stored amplitude in dB.
#pragma once

#include <memory>

#include "db/db_records.h"
#include "graph/test_graph.h"

// The plot of test with the appearance of plot plot_index as the window
// opens. Points are copied in their stored order, at most the record's count
// and never beyond its allocated slots.
std::unique_ptr<s_test_plot> test_plot_from_db(const s_db_test& test, int plot_index);

// Adds test as the graph's next plot; false (nothing added) when
// TEST_GRAPH_MAX_TESTS are already plotted.
bool add_test_plot(s_test_graph_state& graph, const s_db_test& test);
