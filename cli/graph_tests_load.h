// The tests a tool analysis plots, loaded from a test database as the graph
// window loads them.
#pragma once

#include <string>
#include <vector>

#include "cli_context.h"
#include "graph/test_graph.h"

// Opens the existing database file and adds each test (by number, in the
// order given) as the graph's next plot with its points. False, with the
// reason printed and nothing added beyond what loaded, for a number that is
// not a whole number from 1 up (a usage error, its status in status), a
// file that is not a test database, or a test the file does not hold.
bool load_graph_tests(const cli_context& context, const std::string& file, const std::vector<std::string>& numbers,
                      s_test_graph_state& graph, int& status);
