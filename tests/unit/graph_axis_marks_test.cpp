// Where the impedance graphs put grid lines and labels: logarithmic axes
// (reversed ones too) with the frequency axis' lines, linear divisions, the
// label texts, axes that cannot be drawn, and the read-out row.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "graph/axis_label_text.h"
#include "graph/axis_marks.h"
#include "graph/drawn_axis.h"
#include "graph/frequency_axis.h"
#include "graph/graph_titles.h"
#include "graph/number_format.h"
#include "graph/recording_surface.h"

namespace {

const double NaN = std::nan("");
const double INF = std::numeric_limits<double>::infinity();

TEST(graph_axis_marks, log_axis_marks_lines_and_labels)
{
    const std::vector<s_axis_mark> marks = log_axis_marks(*log_drawn_axis(100, 1e5, 300), frequency_label);
    std::vector<std::string> labels;
    std::vector<int> label_pixels;
    std::vector<grid_line> label_lines;
    int minors = 0;
    for (const s_axis_mark& m : marks) {
        if (m.labelled) {
            labels.push_back(m.label);
            label_pixels.push_back(m.pixel);
            label_lines.push_back(m.line);
        } else {
            EXPECT_EQ(m.line, grid_line::minor);
            EXPECT_GT(m.pixel, 0);
            EXPECT_LT(m.pixel, 300);
            ++minors;
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"100", "1k", "10k", "100k"}));
    EXPECT_EQ(label_pixels, (std::vector<int>{0, 100, 200, 300}));
    // Lines only inside the axis: its ends lie on the frame.
    EXPECT_EQ(label_lines,
              (std::vector<grid_line>{grid_line::none, grid_line::major, grid_line::major, grid_line::none}));
    EXPECT_EQ(minors, 24);

    // A reversed axis has the same marks mirrored, from its start at the origin.
    const std::vector<s_axis_mark> reversed = log_axis_marks(*log_drawn_axis(1e5, 100, 300), format_eng_text);
    ASSERT_EQ(reversed.size(), marks.size());
    EXPECT_EQ(reversed.front().pixel, 300);
    EXPECT_EQ(reversed.front().label, "100.00 ");
    EXPECT_EQ(reversed.back().pixel, 0);
    EXPECT_EQ(reversed.back().label, "100.00 k");

    // Under a decade: the first and last multiple are major lines.
    const std::vector<s_axis_mark> multiples = log_axis_marks(*log_drawn_axis(150, 500, 300), frequency_label);
    ASSERT_EQ(multiples.size(), 3u);
    EXPECT_EQ(multiples.front().label, "200");
    EXPECT_EQ(multiples.front().line, grid_line::major);
    EXPECT_EQ(multiples[1].line, grid_line::minor);
    EXPECT_EQ(multiples.back().label, "400");
    EXPECT_EQ(multiples.back().line, grid_line::major);

    // With no multiple inside, the two ends are labelled without lines.
    const std::vector<s_axis_mark> ends = log_axis_marks(*log_drawn_axis(200, 250, 300), frequency_label);
    ASSERT_EQ(ends.size(), 2u);
    EXPECT_EQ(ends[0].label, "200");
    EXPECT_EQ(ends[0].line, grid_line::none);
    EXPECT_EQ(ends[1].pixel, 300);
    EXPECT_EQ(ends[1].line, grid_line::none);
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
