// The LCR graph's Nyquist view and the EIS graph on a recording surface:
// the ranges recomputed on every drawing, titles, the two axes' labels and
// lines, the curve, the cursor and its read-out, the EIS analysis' three
// points, and ranges that draw the frame and titles only.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/colour_value.h"
#include "graph/lcr_nyquist_draw.h"
#include "graph/plot_frame.h"
#include "graph/recording_surface.h"
#include "impedance/eis_analysis.h"
#include "impedance/eis_nyquist_draw.h"
#include "support/drawing_checks.h"
#include "support/graph_settings_defaults.h"
#include "support/lcr_block_builder.h"

namespace {

const double NaN = std::nan("");
const std::uint32_t GRID_DARK_GREY = grid_colours(false).minor;

// A layout-7 block: frequency, Z', Z''.
std::unique_ptr<s_lcr_sweep> arc_block()
{
    return lcr_block({{10000, 10, -5}, {5000, 20, -15}, {2000, 30, -20}, {1000, 40, -15}, {500, 50, -5}});
}

std::vector<std::string> labels_below(const recording_surface& surface, const s_rect& plot)
{
    std::vector<std::string> labels;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.op == drawing_op::text_in_rect && r.area.top == plot.bottom + 5) {
            labels.push_back(r.text);
        }
    }
    return labels;
}

std::vector<std::string> labels_left(const recording_surface& surface, const s_rect& plot)
{
    std::vector<std::string> labels;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.op == drawing_op::text_in_rect && r.area.right == plot.left - 10) {
            labels.push_back(r.text);
        }
    }
    return labels;
}

// The curve's segments: solid, in plot A's colour (the cursor's lines are dotted).
std::vector<s_drawn_segment> curve_segments(const recording_surface& surface, std::uint32_t colour)
{
    std::vector<s_drawn_segment> curve;
    for (const s_drawn_segment& s : segments_in_colour(surface, colour)) {
        if (s.pen.style == pen_style::solid) {
            curve.push_back(s);
        }
    }
    return curve;
}

std::vector<std::string> bold_texts(const recording_surface& surface)
{
    std::vector<std::string> texts;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.current_font.bold) {
            texts.push_back(r.text);
        }
    }
    return texts;
}

class LcrNyquistDraw : public ::testing::Test {
protected:
    const s_rect area{0, 0, 800, 500};
    const s_rect plot{80, 10, 770, 410};  // 690 wide, 400 high
    s_graph_settings settings = default_graph_settings(GRAPH_KIND_LCR_NYQUIST);
    std::unique_ptr<s_lcr_sweep> sweep = arc_block();
    s_lcr_nyquist_view view{LCR_LAYOUT_IMPEDANCE, false, 0};

    recording_surface draw()
    {
        recording_surface surface;
        draw_lcr_nyquist(surface, area, settings, *sweep, view);
        expect_drawn_within(surface, area);
        return surface;
    }

    void manual_ranges(double real_min, double real_max, double imaginary_min, double imaginary_max)
    {
        settings.x_range = RANGE_MANUAL;
        settings.x_min = real_min;
        settings.x_max = real_max;
        settings.range[PLOT_A] = RANGE_MANUAL;
        settings.min[PLOT_A] = imaginary_min;
        settings.max[PLOT_A] = imaginary_max;
    }

    std::uint32_t colour_a() const { return static_cast<std::uint32_t>(settings.colour[PLOT_A]); }
};

TEST_F(LcrNyquistDraw, ranges_are_recomputed_and_the_titles_drawn)
{
    const recording_surface surface = draw();
    // Real Z' 10 to 50 without padding; Imaginary Z -20 to -5 padded by 10 %
    // of its span at both ends and reversed, as the Nyquist kinds start.
    EXPECT_DOUBLE_EQ(settings.x_min, 10);
    EXPECT_DOUBLE_EQ(settings.x_max, 50);
    EXPECT_DOUBLE_EQ(settings.min[PLOT_A], -3.5);
    EXPECT_DOUBLE_EQ(settings.max[PLOT_A], -21.5);

    const std::vector<s_drawing_record> texts = text_records(surface);
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "Real Z' (Ohms)");
    EXPECT_EQ(texts[0].area.top, 430);
    EXPECT_EQ(texts[0].area.left, 80);
    EXPECT_EQ(texts[0].area.right, 770);
    EXPECT_EQ(texts[1].text, "Imagnary Z'' (Ohms)");
    EXPECT_EQ(texts[1].x, 20);
    EXPECT_EQ(texts[1].current_font.direction, font_direction::down);
    EXPECT_EQ(texts[1].current_text_colour, colour_a());

    // The most negative Z'' stands highest on the reversed axis.
    const std::vector<s_drawn_segment> curve = curve_segments(surface, colour_a());
    ASSERT_EQ(curve.size(), 4u);
    EXPECT_LT(curve[2].y0, curve[0].y0);
    for (const s_drawn_segment& s : curve) {
        EXPECT_TRUE(segment_within(s, plot));
    }

    view.settings_hidden = true;
    const recording_surface hidden = draw();
    EXPECT_EQ(text_records(hidden)[0].area.top, 370);
}

TEST_F(LcrNyquistDraw, axis_labels_and_grid_lines)
{
    const struct {
        std::string name;
        double real_min, real_max, imaginary_min, imaginary_max;
        std::vector<std::string> below, left;
    } cases[] = {
        {"wide spans", 0, 100, 0, -40,
         {"0.00", "20.00", "40.00", "60.00", "80.00", "100.00"},
         {"0.0", "-5.0", "-10.0", "-15.0", "-20.0", "-25.0", "-30.0", "-35.0", "-40.0"}},
        {"spans under 1", 0, 0.5, 0, -0.8,
         {"0.0000", "0.1000", "0.2000", "0.3000", "0.4000", "0.5000"},
         {"0.0E+000", "-1.0E-001", "-2.0E-001", "-3.0E-001", "-4.0E-001", "-5.0E-001", "-6.0E-001", "-7.0E-001",
          "-8.0E-001"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        manual_ranges(c.real_min, c.real_max, c.imaginary_min, c.imaginary_max);
        const recording_surface surface = draw();
        EXPECT_EQ(labels_below(surface, plot), c.below);
        EXPECT_EQ(labels_left(surface, plot), c.left);
        const s_drawing_record second = text_record(surface, c.below[1]);
        EXPECT_EQ((second.area.left + second.area.right) / 2, 80 + 138);
        int vertical = 0;
        int horizontal = 0;
        for (const s_drawn_segment& s : segments_in_colour(surface, GRID_DARK_GREY)) {
            EXPECT_EQ(s.pen.style, pen_style::dotted);
            vertical += s.x0 == s.x1 && s.y0 == plot.top && s.y1 == plot.bottom;
            horizontal += s.y0 == s.y1 && s.x0 == plot.left && s.x1 == plot.right;
        }
        EXPECT_EQ(vertical, 4);
        EXPECT_EQ(horizontal, 7);
    }

    // A logarithmic Real Z' axis is labelled by decades.
    settings.x_axis_scale = AXIS_LOG;
    manual_ranges(1, 1000, 0, -40);
    EXPECT_EQ(labels_below(draw(), plot), (std::vector<std::string>{"1", "10", "100", "1k"}));
}

TEST_F(LcrNyquistDraw, cursor_circles_its_point_and_reads_out)
{
    view.cursor = 2;
    recording_surface surface = draw();
    const std::vector<s_drawn_segment> curve = segments_in_colour(surface, colour_a());
    ASSERT_EQ(curve.size(), 6u);  // four of the curve, then two dotted ones
    const int x = curve[2].x0;
    const int y = curve[2].y0;
    EXPECT_EQ(curve[4].pen.style, pen_style::dotted);
    EXPECT_EQ(curve[4].x0, 80);
    EXPECT_EQ(curve[4].y0, y);
    EXPECT_EQ(curve[4].x1, x);
    EXPECT_EQ(curve[5].x1, x);
    EXPECT_EQ(curve[5].y1, 410);
    const std::vector<s_drawing_record> circles = records_of(surface, drawing_op::ellipse);
    ASSERT_EQ(circles.size(), 1u);
    EXPECT_EQ(circles[0].area.left, x - 5);
    EXPECT_EQ(circles[0].area.bottom, y + 6);

    EXPECT_EQ(bold_texts(surface), (std::vector<std::string>{"Frequency: 2.0000 kHz", "Real Z': 30.000 Ohms",
                                                             "Imaginary Z'': -20.000 Ohms"}));
    const s_drawing_record real = text_record(surface, "Real Z': 30.000 Ohms");
    EXPECT_EQ(real.x, 50 + 157);  // past the 21 characters of the frequency
    EXPECT_EQ(real.y, 457);
    EXPECT_EQ(real.current_text_colour, colour_a());

    settings.cursor[PLOT_A] = false;
    surface = draw();
    EXPECT_TRUE(records_of(surface, drawing_op::ellipse).empty());
    EXPECT_TRUE(bold_texts(surface).empty());
}

TEST_F(LcrNyquistDraw, ranges_without_meaning_and_empty_blocks)
{
    const struct {
        std::string name;
        double real_min, real_max, imaginary_min, imaginary_max;
    } cases[] = {
        {"flat real axis", 5, 5, 0, -40},
        {"flat imaginary axis", 0, 100, 3, 3},
        {"not a number", NaN, 100, 0, -40},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        manual_ranges(c.real_min, c.real_max, c.imaginary_min, c.imaginary_max);
        const recording_surface surface = draw();
        EXPECT_TRUE(surface.segments().empty());
        EXPECT_EQ(surface.texts(), (std::vector<std::string>{"Real Z' (Ohms)", "Imagnary Z'' (Ohms)"}));
    }
    // Without points the ranges stay as they were: the axes are drawn, no curve.
    settings = default_graph_settings(GRAPH_KIND_LCR_NYQUIST);
    sweep->points = 0;
    const recording_surface surface = draw();
    EXPECT_DOUBLE_EQ(settings.x_min, 0.1);
    EXPECT_EQ(labels_below(surface, plot).size(), 6u);
    EXPECT_TRUE(curve_segments(surface, colour_a()).empty());
    EXPECT_TRUE(bold_texts(surface).empty());
}

// An arc and a rising tail, recorded from high to low frequency: the scan
// finds the arc's start at point 0, its top near point 15 and its end on
// the way into the tail.
std::unique_ptr<s_lcr_sweep> randles_like_block()
{
    std::vector<std::vector<double>> rows;
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < 40; ++i) {
        const double real = 10 + i * 100.0 / 29;
        const double imaginary = i <= 29 ? -50 * std::sin(pi * i / 29) : -5.0 * (i - 29);
        rows.push_back({1e5 / (1 + i), real, imaginary});
    }
    return lcr_block(rows);
}

class EisNyquistDraw : public ::testing::Test {
protected:
    const s_rect area{0, 0, 800, 600};
    s_graph_settings settings = default_graph_settings(GRAPH_KIND_EIS);
    std::unique_ptr<s_lcr_sweep> sweep = randles_like_block();
    eis_result analysis = eis_scan(*sweep, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
    s_eis_nyquist_view view{LCR_LAYOUT_IMPEDANCE, 120, 0, &analysis};

    recording_surface draw()
    {
        recording_surface surface;
        draw_eis_nyquist(surface, area, settings, *sweep, view);
        expect_drawn_within(surface, area);
        return surface;
    }
};

// The points of the curve in order (every point of these blocks is drawn).
std::vector<std::pair<int, int>> curve_points(const std::vector<s_drawn_segment>& curve)
{
    std::vector<std::pair<int, int>> points;
    for (const s_drawn_segment& s : curve) {
        points.push_back({s.x0, s.y0});
    }
    if (!curve.empty()) {
        points.push_back({curve.back().x1, curve.back().y1});
    }
    return points;
}

enum class shape { square, diamond };

// The marks drawn in a colour: each is four segments from its last corner,
// a square's left side going up, or a diamond's edge from its left corner
// to its top.
std::vector<std::pair<shape, std::pair<int, int>>> marks_in(const recording_surface& surface, std::uint32_t colour)
{
    std::vector<std::pair<shape, std::pair<int, int>>> marks;
    const std::vector<s_drawn_segment> segments = segments_in_colour(surface, colour);
    for (std::size_t i = 0; i + 3 < segments.size(); i += 4) {
        const s_drawn_segment& first = segments[i];
        EXPECT_EQ(first.pen.width, 2);
        if (first.x0 == first.x1) {
            EXPECT_EQ(first.y0 - first.y1, 8);
            marks.push_back({shape::square, {first.x0 + 4, first.y0 - 4}});
        } else {
            EXPECT_EQ(first.x1 - first.x0, 5);
            marks.push_back({shape::diamond, {first.x0 + 5, first.y0}});
        }
        EXPECT_EQ(segments[i + 3].x1, first.x0);
        EXPECT_EQ(segments[i + 3].y1, first.y0);
    }
    return marks;
}

TEST_F(EisNyquistDraw, the_three_points_of_the_analysis_are_marked)
{
    ASSERT_TRUE(analysis.min_real_found && analysis.peak_found && analysis.arc_end_found);
    ASSERT_LT(analysis.min_real_index, analysis.peak_index);
    ASSERT_LT(analysis.peak_index, analysis.arc_end_index);
    const recording_surface surface = draw();
    const std::vector<std::pair<int, int>> points =
        curve_points(curve_segments(surface, static_cast<std::uint32_t>(settings.colour[PLOT_A])));
    ASSERT_EQ(points.size(), 40u);
    const auto marks = marks_in(surface, COLOUR_WHITE);
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0], std::make_pair(shape::square, points[static_cast<std::size_t>(analysis.min_real_index)]));
    EXPECT_EQ(marks[1], std::make_pair(shape::diamond, points[static_cast<std::size_t>(analysis.peak_index)]));
    EXPECT_EQ(marks[2], std::make_pair(shape::square, points[static_cast<std::size_t>(analysis.arc_end_index)]));

    // Black on a white plot.
    settings.bg_colour = BACKGROUND_WHITE;
    EXPECT_EQ(marks_in(draw(), COLOUR_BLACK).size(), 3u);
}

TEST_F(EisNyquistDraw, points_not_found_are_not_marked)
{
    analysis.arc_end_found = false;
    EXPECT_EQ(marks_in(draw(), COLOUR_WHITE).size(), 2u);
    analysis = eis_result{};
    EXPECT_TRUE(marks_in(draw(), COLOUR_WHITE).empty());
    analysis = eis_scan(*sweep, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
    analysis.peak_index = 40;  // beyond the block
    EXPECT_EQ(marks_in(draw(), COLOUR_WHITE).size(), 2u);
    view.analysis = nullptr;
    EXPECT_TRUE(marks_in(draw(), COLOUR_WHITE).empty());
}

TEST_F(EisNyquistDraw, the_window_margin_places_the_plot_and_the_read_out)
{
    const recording_surface surface = draw();
    EXPECT_EQ(records_of(surface, drawing_op::fill_rect).front().area.bottom, 600 - 120 + 4);
    EXPECT_EQ(text_records(surface)[0].area.top, 600 - 120 + 20);
    const s_drawing_record frequency = text_record(surface, "Frequency: 100.00 kHz");
    EXPECT_EQ(frequency.x, 50);
    EXPECT_EQ(frequency.y, 600 - 120 + 47);
}

}  // namespace
