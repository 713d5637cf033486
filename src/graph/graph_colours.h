// The graph colour table: 18 colours shared by the impedance graphs and the
// test graph, each with a name in either family, and entry 18 for a colour
// picked in the system colour dialog.
#pragma once

#include <cstdint>

inline constexpr int GRAPH_COLOUR_COUNT = 18;
// The choice that stands for a colour not in the table.
inline constexpr int GRAPH_COLOUR_CUSTOM = 18;

// The two name sets of the colour choices.
enum class graph_colour_names { impedance, test_graph };

// The colour value (0x00BBGGRR) of a table entry 0 to 17; any other choice,
// the custom entry included, gives custom_colour.
std::int32_t graph_colour_value(int index, std::int32_t custom_colour);

// The table entry holding the colour value, or GRAPH_COLOUR_CUSTOM when no
// entry does.
int graph_colour_index_of(std::int32_t colour);

// The name of choice 0 to 18 in the given set ("Custom" or "Custom..." for
// 18); any other choice is named as the custom entry.
const char* graph_colour_name(int index, graph_colour_names names);
