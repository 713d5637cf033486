// The graph colour table with its two name sets, the custom colour ring and
// the LCR graph's plot data choices.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/custom_colour_ring.h"
#include "graph/graph_colours.h"
#include "graph/lcr_plot_choices.h"

namespace {

struct s_colour_row {
    std::int32_t value;
    int red, green, blue;
    const char* impedance_name;
    const char* test_graph_name;
};

const s_colour_row colour_rows[] = {
    {3937500, 220, 20, 60, "Red", "Crimson"},
    {11823615, 255, 105, 180, "Pink", "Hot Pink"},
    {13459258, 58, 95, 205, "Dark Blue", "Royal Blue"},
    {16758883, 99, 184, 255, "Light Blue", "Steel Blue"},
    {5753088, 0, 201, 87, "Green", "Emerald Green"},
    {2330219, 107, 142, 35, "Olive", "Olive"},
    {8775406, 238, 230, 133, "Pale Yellow", "Khaki"},
    {55295, 255, 215, 0, "Gold", "Gold"},
    {38655, 255, 150, 0, "Orange", "Orange"},
    {4545485, 205, 91, 69, "Peach", "Coral"},
    {12180223, 255, 218, 185, "Salmon", "Peach"},
    {7434694, 198, 113, 113, "Brown", "Salmon"},
    {1262987, 139, 69, 19, "Dark Brown", "Chocolate"},
    {4163021, 205, 133, 63, "Tan", "Tan"},
    {9320590, 142, 56, 142, "Beet", "Beet"},
    {8519755, 75, 0, 130, "Purple", "Indigo"},
    {13485312, 0, 197, 205, "Turqoise", "Turquoise"},
    {16417791, 255, 131, 250, "Light Pink", "Orchid"},
};

TEST(GraphColours, TableValuesNamesAndLookup)
{
    ASSERT_EQ(std::size(colour_rows), static_cast<std::size_t>(GRAPH_COLOUR_COUNT));
    for (int i = 0; i < GRAPH_COLOUR_COUNT; ++i) {
        const s_colour_row& row = colour_rows[i];
        SCOPED_TRACE(row.impedance_name);
        EXPECT_EQ(row.value, row.red | row.green << 8 | row.blue << 16);
        EXPECT_EQ(graph_colour_value(i, -1), row.value);
        EXPECT_EQ(graph_colour_index_of(row.value), i);
        EXPECT_STREQ(graph_colour_name(i, graph_colour_names::impedance), row.impedance_name);
        EXPECT_STREQ(graph_colour_name(i, graph_colour_names::test_graph), row.test_graph_name);
    }
}

TEST(GraphColours, ColoursOutsideTheTableAreTheCustomEntry)
{
    for (std::int32_t colour : {0, 0xFFFFFF, 3937501, -1}) {
        EXPECT_EQ(graph_colour_index_of(colour), GRAPH_COLOUR_CUSTOM) << colour;
    }
    for (int index : {GRAPH_COLOUR_CUSTOM, -1, 19}) {
        EXPECT_EQ(graph_colour_value(index, 0x00ABCDEF), 0x00ABCDEF) << index;
        EXPECT_STREQ(graph_colour_name(index, graph_colour_names::impedance), "Custom") << index;
        EXPECT_STREQ(graph_colour_name(index, graph_colour_names::test_graph), "Custom...") << index;
    }
}

TEST(CustomColourRing, EachPickFillsTheNextSlotAndWraps)
{
    s_custom_colour_ring ring;
    for (int pick = 1; pick <= 18; ++pick) {
        custom_colour_ring_store(ring, pick);
    }
    // Picks 17 and 18 went over the two oldest.
    const std::int32_t expected[CUSTOM_COLOUR_SLOTS] = {17, 18, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    for (int slot = 0; slot < CUSTOM_COLOUR_SLOTS; ++slot) {
        EXPECT_EQ(ring.colours[slot], expected[slot]) << slot;
    }
    EXPECT_EQ(ring.position, 2);

    ring.position = 15;
    custom_colour_ring_store(ring, 99);
    EXPECT_EQ(ring.colours[15], 99);
    EXPECT_EQ(ring.position, 0);

    ring.position = 40;  // never written past the ring
    custom_colour_ring_store(ring, 7);
    EXPECT_EQ(ring.colours[0], 7);
    EXPECT_EQ(ring.position, 1);
}

TEST(LcrPlotChoices, QuantitiesOfEachLayoutInValueOrder)
{
    const std::vector<std::string> basic = {"Q", "Tan\xF0", "Impedance", "Phase", "L", "C", "R"};
    const struct {
        int layout;
        std::vector<std::string> names;
    } cases[] = {
        {LCR_LAYOUT_FULL,
         {"Q Factor", "Tan\xF0", "Z Magnitude", "Z Phase", "Series L", "Series C", "Series R", "Y Magnitude",
          "Y Phase", "Parallel L", "Parallel C", "Parallel R"}},
        {LCR_LAYOUT_IMPEDANCE, {"Z Real", "Z Quadrature", "Z Magnitude", "Z Phase"}},
        {LCR_LAYOUT_ADMITTANCE, {"Y Real", "Y Quadrature", "Y Magnitude", "Y Phase"}},
        {LCR_LAYOUT_BASIC, basic},
        {LCR_LAYOUT_READING, basic},
        {0, basic},
        {99, basic},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        const auto choices = lcr_plot_choices(c.layout);
        EXPECT_EQ(std::vector<std::string>(choices.begin(), choices.end()), c.names);
        // One choice per value of the point after the frequency.
        EXPECT_EQ(static_cast<int>(choices.size()), lcr_values_for_layout(c.layout) - 1);
    }
}

}  // namespace
