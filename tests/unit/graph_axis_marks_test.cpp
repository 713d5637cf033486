// Where the graphs put grid lines and labels: the logarithmic axis' decades,
// sub-decades and multiples, linear divisions, the label texts, and the
// cutting of curve segments at the plot's edges.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "graph/axis_label_text.h"
#include "graph/axis_marks.h"
#include "graph/clipped_curve.h"
#include "graph/drawn_axis.h"
#include "graph/graph_titles.h"
#include "graph/log_axis_ticks.h"
#include "graph/number_format.h"
#include "graph/recording_surface.h"

namespace {

const double NaN = std::nan("");
const double INF = std::numeric_limits<double>::infinity();

std::vector<double> values_of_kind(const std::vector<s_log_tick>& ticks, log_tick_kind kind)
{
    std::vector<double> values;
    for (const s_log_tick& t : ticks) {
        if (t.kind == kind) {
            values.push_back(t.value);
        }
    }
    return values;
}

void expect_values(const std::vector<double>& expected, const std::vector<double>& got, const std::string& what)
{
    ASSERT_EQ(expected.size(), got.size()) << what;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(got[i] / expected[i], 1.0, 1e-12) << what << " " << i;
    }
}

struct ticks_case {
    std::string name;
    double low;
    double high;
    std::vector<double> decades;
    std::size_t sub_decades;
    std::vector<double> multiples;
    std::vector<double> end_labels;
};

TEST(graph_log_axis, ticks_of_each_kind_of_range)
{
    const std::vector<ticks_case> cases = {
        {"100 Hz to 100 kHz", 100, 1e5, {100, 1e3, 1e4, 1e5}, 24, {}, {}},
        {"the same range reversed", 1e5, 100, {100, 1e3, 1e4, 1e5}, 24, {}, {}},
        {"ends off the decades", 150, 20000, {1e3, 1e4}, 17, {}, {}},
        {"below 1", 0.01, 10, {0.01, 0.1, 1, 10}, 24, {}, {}},
        {"exactly one decade", 20, 200, {100}, 9, {}, {}},
        {"200 Hz to 500 Hz", 200, 500, {}, 0, {300, 400}, {}},
        {"under a decade across a decade", 500, 2000, {}, 0,
         {600, 700, 800, 900, 1000, 1100, 1200, 1300, 1400, 1500}, {}},
        {"no multiple inside", 200, 250, {}, 0, {}, {200, 250}},
        {"sub-hertz, under a decade", 0.2, 0.45, {}, 0, {0.3, 0.4}, {}},
    };
    for (const ticks_case& c : cases) {
        const std::vector<s_log_tick> ticks = log_axis_ticks(c.low, c.high);
        expect_values(c.decades, values_of_kind(ticks, log_tick_kind::decade), c.name + ": decades");
        EXPECT_EQ(c.sub_decades, values_of_kind(ticks, log_tick_kind::sub_decade).size()) << c.name;
        expect_values(c.multiples, values_of_kind(ticks, log_tick_kind::multiple), c.name + ": multiples");
        expect_values(c.end_labels, values_of_kind(ticks, log_tick_kind::end_label), c.name + ": ends");
        for (std::size_t i = 1; i < ticks.size(); ++i) {
            EXPECT_LT(ticks[i - 1].value, ticks[i].value) << c.name;
        }
        for (const s_log_tick& t : ticks) {
            EXPECT_EQ(t.labelled, t.kind != log_tick_kind::sub_decade) << c.name << " " << t.value;
        }
    }
}

TEST(graph_log_axis, ranges_without_a_logarithm_give_no_ticks_and_wide_ones_are_capped)
{
    for (const auto& [low, high] : std::vector<std::pair<double, double>>{
             {0, 100}, {-1, 100}, {10, -1}, {NaN, 100}, {10, INF}, {10, 10}}) {
        EXPECT_TRUE(log_axis_ticks(low, high).empty()) << low << " to " << high;
    }
    const std::vector<s_log_tick> wide = log_axis_ticks(1e-300, 1e300);
    EXPECT_EQ(values_of_kind(wide, log_tick_kind::decade).size(), static_cast<std::size_t>(LOG_AXIS_MOST_DECADES + 1));
}

TEST(graph_log_axis, decades_of_values_a_hair_below_a_power_of_ten)
{
    EXPECT_EQ(log_decade_of(1000), 3);
    EXPECT_EQ(log_decade_of(999.99999999999), 3);
    EXPECT_EQ(log_decade_of(999.9), 2);
    EXPECT_EQ(log_decade_of(0.001), -3);
    EXPECT_EQ(log_decade_of(0.5), -1);
}

TEST(graph_axis_marks, log_axis_marks_lines_and_labels)
{
    const s_drawn_axis axis = *log_drawn_axis(100, 1e5, 300);
    const std::vector<s_axis_mark> marks = log_axis_marks(axis, log_axis_label);
    std::vector<std::string> labels;
    std::vector<int> label_pixels;
    int minors = 0;
    for (const s_axis_mark& m : marks) {
        if (m.labelled) {
            labels.push_back(m.label);
            label_pixels.push_back(m.pixel);
            EXPECT_EQ(m.line, grid_line::major) << m.label;
        } else {
            EXPECT_EQ(m.line, grid_line::minor);
            EXPECT_GT(m.pixel, 0);
            EXPECT_LT(m.pixel, 300);
            ++minors;
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"100", "1k", "10k", "100k"}));
    EXPECT_EQ(label_pixels, (std::vector<int>{0, 100, 200, 300}));
    EXPECT_EQ(minors, 24);

    // Under a decade: the first and last multiple are major lines.
    const std::vector<s_axis_mark> multiples = log_axis_marks(*log_drawn_axis(150, 500, 300), log_axis_label);
    ASSERT_EQ(multiples.size(), 3u);
    EXPECT_EQ(multiples.front().label, "200");
    EXPECT_EQ(multiples.front().line, grid_line::major);
    EXPECT_EQ(multiples[1].line, grid_line::minor);
    EXPECT_EQ(multiples.back().label, "400");
    EXPECT_EQ(multiples.back().line, grid_line::major);

    // With no multiple inside, the two ends are labelled without lines.
    const std::vector<s_axis_mark> ends = log_axis_marks(*log_drawn_axis(200, 250, 300), log_axis_label);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].label, "200");
    EXPECT_EQ(ends[0].line, grid_line::none);
    EXPECT_EQ(ends[1].pixel, 300);
}

TEST(graph_axis_marks, linear_axis_divisions)
{
    const std::vector<s_axis_mark> divisions =
        linear_axis_marks(*linear_drawn_axis(0, 800, 420), 8, linear_vertical_label);
    ASSERT_EQ(divisions.size(), 9u);
    for (int j = 0; j <= 8; ++j) {
        const s_axis_mark& m = divisions[static_cast<std::size_t>(j)];
        EXPECT_EQ(m.pixel, 420 * j / 8);
        EXPECT_EQ(m.label, std::to_string(100 * j) + ".0");
        EXPECT_EQ(m.line, j > 0 && j < 8 ? grid_line::minor : grid_line::none);
    }
    // A reversed axis labels from its start at the origin.
    const std::vector<s_axis_mark> reversed =
        linear_axis_marks(*linear_drawn_axis(50, -50, 100), 5, linear_horizontal_label);
    EXPECT_EQ(reversed.front().label, "50.00");
    EXPECT_EQ(reversed.back().label, "-50.00");
}

TEST(graph_axis_marks, label_texts)
{
    const struct {
        std::string got;
        std::string expected;
    } cases[] = {
        {linear_vertical_label(1234.5, 100), "1234.5"},
        {linear_vertical_label(-40, 100), "-40.0"},
        {linear_vertical_label(0.25, 0.5), "2.5E-001"},
        {linear_vertical_label(0, -0.5), "0.0E+000"},
        {linear_horizontal_label(12.3456, 10), "12.35"},
        {linear_horizontal_label(0.5, 0.9), "0.5000"},
        {log_axis_label(4700), "4k7"},
        {log_axis_label(1e6), "1M"},
        {log_axis_label(100), "100"},
        {log_axis_label(0.5), "500.00 m"},
        {log_axis_label(0.999999999999999), "1"},
        {log_axis_label(1e30), format_eng_text(1e30)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.got, c.expected);
    }
}

TEST(graph_drawn_axis, axes_that_cannot_be_drawn)
{
    EXPECT_FALSE(linear_drawn_axis(5, 5, 100));
    EXPECT_FALSE(linear_drawn_axis(NaN, 5, 100));
    EXPECT_FALSE(linear_drawn_axis(-1e308, 1e308, 100));  // a span beyond the doubles
    EXPECT_FALSE(linear_drawn_axis(0, 5, 0));
    EXPECT_FALSE(log_drawn_axis(10, 0, 100));
    EXPECT_FALSE(log_drawn_axis(-10, -1, 100));
    EXPECT_FALSE(log_drawn_axis(1, INF, 100));
    EXPECT_FALSE(log_drawn_axis(1e-6, 1e-6, 100));

    // A logarithmic start of 0 or below is drawn from 1e-6, or the graph's own.
    EXPECT_DOUBLE_EQ(log_drawn_axis(0, 100, 80)->min, 1e-6);
    EXPECT_DOUBLE_EQ(log_drawn_axis(-3, 100, 80, 0.001)->min, 0.001);
    EXPECT_DOUBLE_EQ(*log_drawn_axis(0, 100, 80)->offset_of(1), 60);
    EXPECT_FALSE(log_drawn_axis(0, 100, 80)->offset_of(0));
    EXPECT_DOUBLE_EQ(*linear_drawn_axis(100, 0, 50)->offset_of(20), 40);  // reversed
}

struct clip_case {
    std::string name;
    double x0, y0, x1, y1;
    bool visible;
    double cx0, cy0, cx1, cy1;
    bool start_cut, end_cut;
};

TEST(graph_curve_clip, segments_cut_at_every_edge)
{
    // The box is 100 wide and 50 high.
    const std::vector<clip_case> cases = {
        {"inside", 10, 10, 90, 40, true, 10, 10, 90, 40, false, false},
        {"out through the top", 0, 0, 100, 100, true, 0, 0, 50, 50, false, true},
        {"in through the bottom", 50, -50, 50, 25, true, 50, 0, 50, 25, true, false},
        {"across left and right", -100, 20, 200, 20, true, 0, 20, 100, 20, true, true},
        {"wholly above", 0, 60, 100, 80, false, 0, 0, 0, 0, false, false},
        {"wholly right", 120, 10, 150, 40, false, 0, 0, 0, 0, false, false},
        {"past a corner", 90, 70, 130, 40, false, 0, 0, 0, 0, false, false},
        {"along the top edge", 10, 50, 90, 50, true, 10, 50, 90, 50, false, false},
        {"far away ends", -1e300, 25, 1e300, 25, true, 0, 25, 100, 25, true, true},
        {"an end beyond the doubles", -1e308, 25, 1e308, 25, false, 0, 0, 0, 0, false, false},
        {"not a number", NaN, 10, 50, 10, false, 0, 0, 0, 0, false, false},
    };
    for (const clip_case& c : cases) {
        const s_clip_result r = clip_segment_to_box(c.x0, c.y0, c.x1, c.y1, 100, 50);
        ASSERT_EQ(r.visible, c.visible) << c.name;
        if (!c.visible) {
            continue;
        }
        EXPECT_NEAR(r.x0, c.cx0, 1e-9) << c.name;
        EXPECT_NEAR(r.y0, c.cy0, 1e-9) << c.name;
        EXPECT_NEAR(r.x1, c.cx1, 1e-9) << c.name;
        EXPECT_NEAR(r.y1, c.cy1, 1e-9) << c.name;
        EXPECT_EQ(r.start_cut, c.start_cut) << c.name;
        EXPECT_EQ(r.end_cut, c.end_cut) << c.name;
    }
}

TEST(graph_curve_clip, runs_break_at_edges_and_at_points_not_drawn)
{
    const s_rect plot{100, 10, 200, 60};  // 100 wide, 50 high
    recording_surface surface;
    clipped_curve curve(surface, plot);
    curve.add(0.0, 10.0);
    curve.add(50.0, 30.0);
    curve.add(60.0, 80.0);   // above the plot: the run leaves through the top
    curve.add(70.0, 20.0);   // and comes back in at the edge
    curve.add(std::nullopt, 20.0);  // not drawn: the run breaks
    curve.add(80.0, 20.0);
    curve.add(90.0, 30.0);
    EXPECT_EQ(curve.segments(), 4);

    std::vector<std::pair<drawing_op, std::pair<int, int>>> ops;
    for (const s_drawing_record& r : surface.records()) {
        ops.push_back({r.op, {r.x, r.y}});
    }
    const std::vector<std::pair<drawing_op, std::pair<int, int>>> expected = {
        {drawing_op::move_to, {100, 50}}, {drawing_op::line_to, {150, 30}},
        {drawing_op::line_to, {154, 10}},  // 50 + 10 x 20 / 50
        {drawing_op::move_to, {165, 10}},  // 60 + 10 x 30 / 60
        {drawing_op::line_to, {170, 40}},
        {drawing_op::move_to, {180, 40}}, {drawing_op::line_to, {190, 30}},
    };
    EXPECT_EQ(ops, expected);
}

TEST(graph_curve_clip, held_heights_and_a_right_limit)
{
    const s_rect plot{0, 0, 100, 50};
    recording_surface surface;
    clipped_curve curve(surface, plot, curve_edges::clamp_vertical, 98);
    curve.add(0.0, -20.0);  // held to the bottom
    curve.add(50.0, 80.0);  // held to the top
    curve.add(100.0, 0.0);  // cut at 98
    const std::vector<s_drawn_segment> segments = surface.segments();
    ASSERT_EQ(segments.size(), 2u);
    EXPECT_EQ(segments[0].y0, 50);
    EXPECT_EQ(segments[0].y1, 0);
    EXPECT_EQ(segments[1].x1, 98);
    EXPECT_EQ(segments[1].y1, 48);  // the height at 98 is 2, which is 48 on the surface
}

TEST(graph_readout_row, items_step_125_pixels_unless_longer)
{
    recording_surface surface;
    draw_readout_row(surface, 50, 400,
                     {{"Q: 1.0000 ", 1}, {"sixteen letters!", 2}, {"a read-out thirty letters long", 3}, {"end", 4}});
    std::vector<int> xs;
    for (const s_drawing_record& r : surface.records()) {
        if (r.op == drawing_op::text_at) {
            xs.push_back(r.x);
            EXPECT_TRUE(r.current_font.bold);
            EXPECT_EQ(r.y, 400);
            EXPECT_EQ(r.current_text_colour, static_cast<std::uint32_t>(xs.size()));
        }
    }
    // 10 and 16 characters (and the gap of 10) fit in 125 pixels; 30 take 210.
    EXPECT_EQ(xs, (std::vector<int>{50, 175, 300, 520}));
}

}  // namespace
