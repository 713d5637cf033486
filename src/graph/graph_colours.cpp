#include "graph/graph_colours.h"

#include "graph/colour_value.h"

namespace {

constexpr std::int32_t rgb(int red, int green, int blue)
{
    return static_cast<std::int32_t>(rgb_colour(red, green, blue));
}

struct s_graph_colour {
    std::int32_t value;
    const char* impedance_name;
    const char* test_graph_name;
};

// "Turqoise" is the impedance graphs' own spelling.
constexpr s_graph_colour graph_colours[GRAPH_COLOUR_COUNT] = {
    {rgb(220, 20, 60), "Red", "Crimson"},
    {rgb(255, 105, 180), "Pink", "Hot Pink"},
    {rgb(58, 95, 205), "Dark Blue", "Royal Blue"},
    {rgb(99, 184, 255), "Light Blue", "Steel Blue"},
    {rgb(0, 201, 87), "Green", "Emerald Green"},
    {rgb(107, 142, 35), "Olive", "Olive"},
    {rgb(238, 230, 133), "Pale Yellow", "Khaki"},
    {rgb(255, 215, 0), "Gold", "Gold"},
    {rgb(255, 150, 0), "Orange", "Orange"},
    {rgb(205, 91, 69), "Peach", "Coral"},
    {rgb(255, 218, 185), "Salmon", "Peach"},
    {rgb(198, 113, 113), "Brown", "Salmon"},
    {rgb(139, 69, 19), "Dark Brown", "Chocolate"},
    {rgb(205, 133, 63), "Tan", "Tan"},
    {rgb(142, 56, 142), "Beet", "Beet"},
    {rgb(75, 0, 130), "Purple", "Indigo"},
    {rgb(0, 197, 205), "Turqoise", "Turquoise"},
    {rgb(255, 131, 250), "Light Pink", "Orchid"},
};

constexpr const char* custom_impedance_name = "Custom";
constexpr const char* custom_test_graph_name = "Custom...";

bool in_table(int index)
{
    return index >= 0 && index < GRAPH_COLOUR_COUNT;
}

}  // namespace

std::int32_t graph_colour_value(int index, std::int32_t custom_colour)
{
    return in_table(index) ? graph_colours[index].value : custom_colour;
}

int graph_colour_index_of(std::int32_t colour)
{
    for (int index = 0; index < GRAPH_COLOUR_COUNT; ++index) {
        if (graph_colours[index].value == colour) {
            return index;
        }
    }
    return GRAPH_COLOUR_CUSTOM;
}

const char* graph_colour_name(int index, graph_colour_names names)
{
    const bool impedance = names == graph_colour_names::impedance;
    if (!in_table(index)) {
        return impedance ? custom_impedance_name : custom_test_graph_name;
    }
    return impedance ? graph_colours[index].impedance_name : graph_colours[index].test_graph_name;
}
