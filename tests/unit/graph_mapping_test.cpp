// Data values to pixel offsets on the impedance graphs: linear and
// logarithmic offsets, the values a logarithmic axis cannot draw, and the
// rounding to whole pixels.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/graph_mapping.h"

namespace {

const double NaN = std::nan("");
const double INF = std::numeric_limits<double>::infinity();

s_lcr_result point_with(int index, double v)
{
    s_lcr_result p{};
    p.value[0] = 1000;
    p.value[index] = v;
    return p;
}

struct offset_case {
    std::string name;
    std::int32_t scale;
    double axis_min;
    double value;
    double pixels_per_unit;
    std::optional<double> offset;  // absent: not drawn
};

void expect_offset(const offset_case& c, std::optional<double> got, const char* mapping)
{
    ASSERT_EQ(got.has_value(), c.offset.has_value()) << mapping << ": " << c.name;
    if (c.offset) {
        EXPECT_NEAR(*got, *c.offset, 1e-9) << mapping << ": " << c.name;
    }
}

// The horizontal mappings share their rules: frequency (value 0) and Real Z'
// (value 1 under layout 7).
TEST(graph_mapping, horizontal_offsets)
{
    const std::vector<offset_case> cases = {
        {"linear", AXIS_LINEAR, 10, 110, 2, 200},
        {"linear below the minimum", AXIS_LINEAR, 10, -40, 2, -100},
        {"log", AXIS_LOG, 10, 1000, 50, 100},
        {"log below the minimum", AXIS_LOG, 10, 1, 50, -50},
        {"log of 0", AXIS_LOG, 10, 0, 50, std::nullopt},
        {"log of a negative value", AXIS_LOG, 10, -5, 50, std::nullopt},
        {"log of NaN", AXIS_LOG, 10, NaN, 50, std::nullopt},
        {"log of infinity", AXIS_LOG, 10, INF, 50, std::nullopt},
        {"log with a minimum of 0", AXIS_LOG, 0, 100, 50, std::nullopt},
        {"log with a negative minimum", AXIS_LOG, -1, 100, 50, std::nullopt},
        {"linear NaN", AXIS_LINEAR, 10, NaN, 2, std::nullopt},
        {"linear, infinite scale", AXIS_LINEAR, 10, 20, INF, std::nullopt},
    };
    for (const auto& c : cases) {
        s_graph_settings g{};
        g.x_axis_scale = c.scale;
        g.x_min = c.axis_min;
        expect_offset(c, x_offset_of_frequency(g, point_with(0, c.value), c.pixels_per_unit), "frequency");
        expect_offset(c, x_offset_of_real_z(g, point_with(1, c.value), c.pixels_per_unit, LCR_LAYOUT_IMPEDANCE),
                      "real Z");
    }
}

TEST(graph_mapping, value_offsets)
{
    const std::vector<offset_case> cases = {
        {"linear", AXIS_LINEAR, -5, 15, 3, 60},
        {"linear negative", AXIS_LINEAR, 0, -2, 3, -6},
        {"log", AXIS_LOG, 1, 100, 20, 40},
        {"log, minimum 0 reads as 1e-6", AXIS_LOG, 0, 1e-3, 10, 30},
        {"log, negative minimum reads as 1e-6", AXIS_LOG, -7, 1, 10, 60},
        {"log of 0", AXIS_LOG, 1, 0, 20, std::nullopt},
        {"log of a negative value", AXIS_LOG, 1, -1, 20, std::nullopt},
        {"log of NaN", AXIS_LOG, 1, NaN, 20, std::nullopt},
        {"log of infinity", AXIS_LOG, 1, INF, 20, std::nullopt},
        {"linear infinity", AXIS_LINEAR, 1, INF, 20, std::nullopt},
    };
    for (const auto& c : cases) {
        for (int plot : {PLOT_A, PLOT_B}) {
            s_graph_settings g{};
            g.axis_scale[plot] = c.scale;
            g.min[plot] = c.axis_min;
            g.axis_scale[1 - plot] = AXIS_LINEAR;
            g.min[1 - plot] = 1e9;  // the other plot's settings must not be used
            expect_offset(c, y_offset_of_value(g, point_with(5, c.value), c.pixels_per_unit, 5, plot), "value");
        }
    }
}

TEST(graph_mapping, value_index_0_is_at_the_origin_and_bad_indexes_are_not_drawn)
{
    s_graph_settings g{};
    g.axis_scale[PLOT_A] = AXIS_LOG;
    const s_lcr_result p = point_with(0, 0);
    EXPECT_EQ(y_offset_of_value(g, p, 10, 0, PLOT_A), std::optional<double>(0.0));
    EXPECT_FALSE(y_offset_of_value(g, p, 10, -1, PLOT_A));
    EXPECT_FALSE(y_offset_of_value(g, p, 10, LCR_RESULT_VALUES, PLOT_A));
    EXPECT_FALSE(y_offset_of_value(g, p, 10, 1, 2));
}

// Z'' (value 2 under layout 7) is mapped linearly whatever plot A's scale.
TEST(graph_mapping, imaginary_offsets_are_always_linear)
{
    for (std::int32_t scale : {AXIS_LINEAR, AXIS_LOG}) {
        s_graph_settings g{};
        g.axis_scale[PLOT_A] = scale;
        g.min[PLOT_A] = -40;
        const auto at = [&](double v) {
            return y_offset_of_imaginary_z(g, point_with(2, v), 0.5, LCR_LAYOUT_IMPEDANCE);
        };
        EXPECT_EQ(at(-30), std::optional<double>(5.0));
        EXPECT_EQ(at(-50), std::optional<double>(-5.0));
        EXPECT_EQ(at(0), std::optional<double>(20.0));
        EXPECT_FALSE(at(NaN));
    }
}

TEST(graph_mapping, pixels_round_half_away_from_zero_within_int_range)
{
    struct pixel_case {
        double offset;
        std::optional<int> pixel;
    };
    const std::vector<pixel_case> cases = {
        {2.5, 3},
        {-2.5, -3},
        {0.5, 1},
        {-0.5, -1},
        {2.4999, 2},
        {-2.4999, -2},
        {0.49999999999999994, 0},  // the largest double below 0.5: floor(x + 0.5) gets this wrong
        {1e6 + 0.5, 1000001},
        {2147483647.0, INT_MAX},
        {2147483647.4, INT_MAX},
        {2147483647.5, std::nullopt},
        {-2147483648.0, INT_MIN},
        {-2147483648.6, std::nullopt},
        {1e300, std::nullopt},
        {NaN, std::nullopt},
        {INF, std::nullopt},
        {-INF, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pixel_of_offset(c.offset), c.pixel) << c.offset;
    }
}

}  // namespace
