// Automatic ranges of the impedance graphs: each axis' fixed start values,
// the ends each pad type pads, percentage and fixed padding, centring,
// logarithmic axes, reversal, and blocks with no or one point.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/autoscale_impedance.h"

namespace {

constexpr double UNTOUCHED = -123.25;  // a range no search produces

// Linear, auto range, no padding, not reversed, ranges set to UNTOUCHED.
s_graph_settings plain_settings()
{
    s_graph_settings g{};
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        g.axis_scale[p] = AXIS_LINEAR;
        g.pad_type[p] = PAD_NONE;
        g.pad_value[p] = 10;
        g.pad_percent[p] = true;
        g.range[p] = RANGE_AUTO;
        g.min[p] = g.max[p] = UNTOUCHED;
    }
    g.x_axis_scale = AXIS_LINEAR;
    g.x_pad_type = PAD_NONE;
    g.x_pad_value = 10;
    g.x_pad_percent = true;
    g.x_range = RANGE_AUTO;
    g.x_min = g.x_max = UNTOUCHED;
    return g;
}

// A block whose value `index` of point i is values[i] (every other value 1).
std::unique_ptr<s_lcr_sweep> block_of(int index, const std::vector<double>& values)
{
    auto sweep = make_lcr_sweep();
    sweep->points = static_cast<int>(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        for (double& v : sweep->point[i].value) {
            v = 1;
        }
        sweep->point[i].value[index] = values[i];
    }
    return sweep;
}

// How one axis is set up, and the range it must get.
struct axis_case {
    std::string name;
    std::vector<double> values;
    std::int32_t scale;
    std::int32_t range;
    std::int32_t pad_type;
    std::int32_t pad_value;
    bool pad_percent;
    bool flip;
    double min;
    double max;
};

void expect_range(const axis_case& c, double min, double max)
{
    EXPECT_NEAR(min, c.min, 1e-9) << c.name;
    EXPECT_NEAR(max, c.max, 1e-9) << c.name;
}

constexpr std::int32_t LIN = AXIS_LINEAR;
constexpr std::int32_t LOG = AXIS_LOG;

TEST(graph_autoscale, plot_axis_cases)
{
    const std::vector<axis_case> cases = {
        {"all equal, 10 % both ends", {5, 5, 5}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, false, -7, 17},
        {"single point, no padding", {3}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -7, 13},
        {"10 % both ends", {2, 7, 12}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, false, 1, 13},
        {"10 % top only", {2, 7, 12}, LIN, RANGE_AUTO, PAD_FIRST_END, 10, true, false, 2, 13},
        {"10 % bottom only", {2, 7, 12}, LIN, RANGE_AUTO, PAD_SECOND_END, 10, true, false, 1, 12},
        {"fixed 3 both ends", {2, 7, 12}, LIN, RANGE_AUTO, PAD_BOTH, 3, false, false, -1, 15},
        {"an end at 0 is not padded", {0, 10}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, false, 0, 11},
        {"reversed", {2, 12}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, true, 13, 1},
        {"centre 0 on the maximum", {-2, 8}, LIN, RANGE_CENTRE_0, PAD_BOTH, 10, true, false, -9.6, 9.6},
        {"centre 0 on the minimum", {-8, 2}, LIN, RANGE_CENTRE_0, PAD_NONE, 10, true, false, -8, 8},
        {"nearest 0 from above", {3, 8}, LIN, RANGE_NEAREST_0, PAD_BOTH, 10, true, false, 0, 8.8},
        {"nearest 0 from below", {-8, -3}, LIN, RANGE_NEAREST_0, PAD_BOTH, 10, true, false, -8.8, 0},
        {"minimum starts at 1e5", {2e5, 3e5}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 1e5, 3e5},
        {"maximum starts at -5e4", {-9e4, -8e4}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -9e4, -5e4},
        {"log keeps raw ends", {0, 40, 100}, LOG, RANGE_CENTRE_0, PAD_BOTH, 10, true, true, 0, 100},
        {"log keeps a negative minimum", {-3, 50}, LOG, RANGE_AUTO, PAD_BOTH, 10, true, false, -3, 50},
        {"log widens a flat span", {5}, LOG, RANGE_AUTO, PAD_NONE, 10, true, false, -5, 15},
        {"non-finite values take no part", {std::nan(""), 2, std::numeric_limits<double>::infinity(), 12},
         LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 2, 12},
    };
    for (const auto& c : cases) {
        for (int plot : {PLOT_A, PLOT_B}) {
            s_graph_settings g = plain_settings();
            g.axis_scale[plot] = c.scale;
            g.range[plot] = c.range;
            g.pad_type[plot] = c.pad_type;
            g.pad_value[plot] = c.pad_value;
            g.pad_percent[plot] = c.pad_percent;
            g.range_flip[plot] = c.flip;
            const auto sweep = block_of(4, c.values);
            EXPECT_TRUE(autoscale_plot_axis(g, *sweep, plot, 4)) << c.name;
            expect_range(c, g.min[plot], g.max[plot]);
            EXPECT_EQ(g.min[1 - plot], UNTOUCHED) << c.name << ": the other plot changed";
        }
    }
}

TEST(graph_autoscale, frequency_axis_cases)
{
    const std::vector<axis_case> cases = {
        {"no padding", {10, 100, 1000}, LOG, RANGE_AUTO, PAD_NONE, 10, true, false, 10, 1000},
        {"log pads, then lifts the minimum", {10, 1000}, LOG, RANGE_AUTO, PAD_BOTH, 10, true, false, 1e-6, 1099},
        {"log pads a positive minimum", {100, 1000}, LOG, RANGE_AUTO, PAD_BOTH, 5, false, false, 95, 1005},
        {"linear keeps a negative padded minimum", {10, 1000}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, false, -89,
         1099},
        {"left only", {10, 110}, LIN, RANGE_AUTO, PAD_FIRST_END, 10, true, false, 0, 110},
        {"right only", {10, 110}, LIN, RANGE_AUTO, PAD_SECOND_END, 10, true, false, 10, 120},
        {"single point widens the maximum only", {100}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 100, 110},
        {"nearest 0", {10, 110}, LIN, RANGE_NEAREST_0, PAD_BOTH, 10, true, false, 0, 121},
        {"minimum starts at 1e9", {2e9, 3e9}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 1e9, 3e9},
        {"reversed after the lift", {10, 1000}, LOG, RANGE_AUTO, PAD_BOTH, 10, true, true, 1099, 1e-6},
    };
    for (const auto& c : cases) {
        s_graph_settings g = plain_settings();
        g.x_axis_scale = c.scale;
        g.x_range = c.range;
        g.x_pad_type = c.pad_type;
        g.x_pad_value = c.pad_value;
        g.x_pad_percent = c.pad_percent;
        g.x_range_flip = c.flip;
        const auto sweep = block_of(0, c.values);
        EXPECT_TRUE(autoscale_frequency_axis(g, *sweep)) << c.name;
        expect_range(c, g.x_min, g.x_max);
    }
}

// Layout 7 holds Z' in value 1 and Z'' in value 2.
TEST(graph_autoscale, nyquist_real_axis_cases)
{
    const std::vector<axis_case> cases = {
        {"10 % both ends", {10, 30, 50}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, false, 6, 54},
        {"left only", {10, 50}, LIN, RANGE_AUTO, PAD_FIRST_END, 10, true, false, 6, 50},
        {"right only", {10, 50}, LIN, RANGE_AUTO, PAD_SECOND_END, 10, true, false, 10, 54},
        {"all negative is drawn reversed", {-50, -10}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -10, -50},
        {"all negative and reversed: one exchange", {-50, -10}, LIN, RANGE_AUTO, PAD_NONE, 10, true, true, -10,
         -50},
        {"ends either side of 0 stay in order", {-10, 50}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -10, 50},
        {"minimum starts at 1e5", {2e5, 3e5}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 1e5, 3e5},
        {"maximum starts at -1e5", {-3e5, -2e5}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -1e5, -3e5},
        {"log lifts a minimum of 0", {0, 50}, LOG, RANGE_AUTO, PAD_NONE, 10, true, false, 1e-6, 50},
        {"reversed", {10, 50}, LIN, RANGE_AUTO, PAD_NONE, 10, true, true, 50, 10},
    };
    for (const auto& c : cases) {
        s_graph_settings g = plain_settings();
        g.x_axis_scale = c.scale;
        g.x_range = c.range;
        g.x_pad_type = c.pad_type;
        g.x_pad_value = c.pad_value;
        g.x_pad_percent = c.pad_percent;
        g.x_range_flip = c.flip;
        const auto sweep = block_of(1, c.values);
        EXPECT_TRUE(autoscale_nyquist_real_axis(g, *sweep, LCR_LAYOUT_IMPEDANCE)) << c.name;
        expect_range(c, g.x_min, g.x_max);
    }
}

TEST(graph_autoscale, nyquist_imaginary_axis_cases)
{
    const std::vector<axis_case> cases = {
        {"reversed by default, 10 % both ends", {-30, -10}, LIN, RANGE_AUTO, PAD_BOTH, 10, true, true, -8, -32},
        {"top only", {-30, -10}, LIN, RANGE_AUTO, PAD_FIRST_END, 10, true, false, -30, -8},
        {"bottom only", {-30, -10}, LIN, RANGE_AUTO, PAD_SECOND_END, 10, true, false, -32, -10},
        {"single point widens both ends", {-20}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -30, -10},
        {"minimum starts at 100", {150, 200}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, 100, 200},
        {"maximum starts at -100", {-300, -200}, LIN, RANGE_AUTO, PAD_NONE, 10, true, false, -300, -100},
        {"centre 0", {-40, 10}, LIN, RANGE_CENTRE_0, PAD_NONE, 10, true, false, -40, 40},
        {"a log scale changes nothing", {-30, -10}, LOG, RANGE_AUTO, PAD_BOTH, 2, false, false, -32, -8},
    };
    for (const auto& c : cases) {
        s_graph_settings g = plain_settings();
        g.axis_scale[PLOT_A] = c.scale;
        g.range[PLOT_A] = c.range;
        g.pad_type[PLOT_A] = c.pad_type;
        g.pad_value[PLOT_A] = c.pad_value;
        g.pad_percent[PLOT_A] = c.pad_percent;
        g.range_flip[PLOT_A] = c.flip;
        const auto sweep = block_of(2, c.values);
        EXPECT_TRUE(autoscale_nyquist_imaginary_axis(g, *sweep, LCR_LAYOUT_IMPEDANCE)) << c.name;
        expect_range(c, g.min[PLOT_A], g.max[PLOT_A]);
    }
}

// Layout 3 takes Z' from value 7 and Z'' as -1 / (2 pi f C) from values 0 and 6.
TEST(graph_autoscale, nyquist_axes_follow_the_layout)
{
    auto sweep = make_lcr_sweep();
    sweep->points = 2;
    const double f[] = {1000, 2000};
    for (int i = 0; i < 2; ++i) {
        sweep->point[i].value[0] = f[i];
        sweep->point[i].value[6] = 1e-6;
        sweep->point[i].value[7] = 20.0 + 10 * i;
    }
    s_graph_settings g = plain_settings();
    ASSERT_TRUE(autoscale_nyquist_real_axis(g, *sweep, LCR_LAYOUT_BASIC));
    EXPECT_DOUBLE_EQ(g.x_min, 20);
    EXPECT_DOUBLE_EQ(g.x_max, 30);
    ASSERT_TRUE(autoscale_nyquist_imaginary_axis(g, *sweep, LCR_LAYOUT_BASIC));
    const double two_pi = 6.283185307179586;
    EXPECT_NEAR(g.min[PLOT_A], -1 / (two_pi * 1000 * 1e-6), 1e-6);
    EXPECT_NEAR(g.max[PLOT_A], -1 / (two_pi * 2000 * 1e-6), 1e-6);
}

// Every routine leaves the record alone when it has nothing to do.
TEST(graph_autoscale, nothing_happens_without_data_or_in_manual)
{
    const auto empty = block_of(1, {});
    auto nan_only = block_of(1, {0, 0});
    for (int i = 0; i < nan_only->points; ++i) {
        for (double& v : nan_only->point[i].value) {
            v = std::nan("");
        }
    }
    auto negative_count = block_of(1, {3, 4});
    negative_count->points = -5;
    const auto full = block_of(1, {3, 4});
    struct step {
        std::string name;
        bool (*run)(s_graph_settings&, const s_lcr_sweep&);
        void (*make_manual)(s_graph_settings&);
    };
    const std::vector<step> steps = {
        {"plot A", [](s_graph_settings& g, const s_lcr_sweep& s) { return autoscale_plot_axis(g, s, PLOT_A, 1); },
         [](s_graph_settings& g) { g.range[PLOT_A] = RANGE_MANUAL; }},
        {"plot B", [](s_graph_settings& g, const s_lcr_sweep& s) { return autoscale_plot_axis(g, s, PLOT_B, 1); },
         [](s_graph_settings& g) { g.range[PLOT_B] = RANGE_MANUAL; }},
        {"frequency", [](s_graph_settings& g, const s_lcr_sweep& s) { return autoscale_frequency_axis(g, s); },
         [](s_graph_settings& g) { g.x_range = RANGE_MANUAL; }},
        {"real", [](s_graph_settings& g, const s_lcr_sweep& s) { return autoscale_nyquist_real_axis(g, s, 7); },
         [](s_graph_settings& g) { g.x_range = RANGE_MANUAL; }},
        {"imaginary",
         [](s_graph_settings& g, const s_lcr_sweep& s) { return autoscale_nyquist_imaginary_axis(g, s, 7); },
         [](s_graph_settings& g) { g.range[PLOT_A] = RANGE_MANUAL; }},
    };
    const auto untouched = [](const s_graph_settings& g) {
        return g.min[0] == UNTOUCHED && g.max[0] == UNTOUCHED && g.min[1] == UNTOUCHED && g.max[1] == UNTOUCHED &&
               g.x_min == UNTOUCHED && g.x_max == UNTOUCHED;
    };
    for (const auto& s : steps) {
        s_graph_settings g = plain_settings();
        EXPECT_FALSE(s.run(g, *empty)) << s.name;
        EXPECT_FALSE(s.run(g, *nan_only)) << s.name;
        EXPECT_FALSE(s.run(g, *negative_count)) << s.name;
        EXPECT_TRUE(untouched(g)) << s.name;
        s.make_manual(g);
        EXPECT_FALSE(s.run(g, *full)) << s.name;
        EXPECT_TRUE(untouched(g)) << s.name;
    }
    s_graph_settings g = plain_settings();
    EXPECT_FALSE(autoscale_plot_axis(g, *full, PLOT_A, 0));
    EXPECT_FALSE(autoscale_plot_axis(g, *full, PLOT_A, LCR_RESULT_VALUES));
    EXPECT_FALSE(autoscale_plot_axis(g, *full, 2, 1));
    EXPECT_TRUE(untouched(g));
}

// A count beyond the block's capacity is held to the block.
TEST(graph_autoscale, point_count_is_held_to_the_block)
{
    auto sweep = block_of(1, {3, 4});
    sweep->points = SWEEP_MAX_POINTS + 5;
    s_graph_settings g = plain_settings();
    ASSERT_TRUE(autoscale_plot_axis(g, *sweep, PLOT_A, 1));
    EXPECT_DOUBLE_EQ(g.min[PLOT_A], 0);  // the zeroed points past the two set
    EXPECT_DOUBLE_EQ(g.max[PLOT_A], 4);
}

TEST(graph_autoscale, bode_rescale_runs_each_axis_and_returns_cursors_to_the_first_point)
{
    auto sweep = make_lcr_sweep();
    sweep->points = 3;
    for (int i = 0; i < 3; ++i) {
        sweep->point[i].value[0] = 100.0 * (i + 1);  // frequency
        sweep->point[i].value[3] = 10.0 + i;         // plot A data
        sweep->point[i].value[4] = -20.0 - i;        // plot B data
    }
    s_graph_settings g = plain_settings();
    EXPECT_EQ(rescale_lcr_bode_graph(g, *sweep, 3, 0).cursor_point, 0);
    EXPECT_DOUBLE_EQ(g.x_min, 100);
    EXPECT_DOUBLE_EQ(g.x_max, 300);
    EXPECT_DOUBLE_EQ(g.min[PLOT_A], 10);
    EXPECT_DOUBLE_EQ(g.max[PLOT_A], 12);
    EXPECT_EQ(g.min[PLOT_B], UNTOUCHED) << "plot B has no data";

    EXPECT_EQ(rescale_lcr_bode_graph(g, *sweep, 3, 4).cursor_point, 0);
    EXPECT_DOUBLE_EQ(g.min[PLOT_B], -22);
    EXPECT_DOUBLE_EQ(g.max[PLOT_B], -20);
}

}  // namespace
