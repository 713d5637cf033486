// The LCR graph's Bode view on a recording surface: titles by layout code,
// the logarithmic and linear axes with their labels and lines, the curves
// with their pens, clipped at the plot, cursors and read-outs, and ranges
// that draw nothing but the frame and the titles.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/autoscale_impedance.h"
#include "graph/colour_value.h"
#include "graph/lcr_bode_draw.h"
#include "graph/plot_frame.h"
#include "graph/recording_surface.h"
#include "support/drawing_checks.h"
#include "support/graph_settings_defaults.h"
#include "support/lcr_block_builder.h"

namespace {

const double NaN = std::nan("");
const double INF = std::numeric_limits<double>::infinity();
// The grid on a black plot: decades in the lighter grey, the rest darker.
const std::uint32_t GRID_LIGHT_GREY = grid_colours(false).major;
const std::uint32_t GRID_DARK_GREY = grid_colours(false).minor;

// Frequencies, then Q, tan delta, |Z| and phase of a basic (code 3) block.
std::unique_ptr<s_lcr_sweep> basic_block()
{
    std::vector<std::vector<double>> rows;
    const double frequencies[] = {100, 200, 500, 1000, 2000, 5000, 10000, 20000, 50000, 100000};
    for (int i = 0; i < 10; ++i) {
        rows.push_back({frequencies[i], 1.0 + i, 0.5, 1000.0 + 1250.0 * i, -10.0 * i});
    }
    return lcr_block(rows);
}

class LcrBodeDraw : public ::testing::Test {
protected:
    const s_rect area{0, 0, 800, 500};
    const s_rect plot{80, 10, 720, 430};  // 640 wide, 420 high
    s_graph_settings settings = default_graph_settings(GRAPH_KIND_LCR_BODE);
    std::unique_ptr<s_lcr_sweep> sweep = basic_block();
    s_lcr_bode_view view;

    void SetUp() override
    {
        view.layout = LCR_LAYOUT_BASIC;
        view.plot_a_value = 3;
        view.plot_b_value = 4;
    }

    void manual_frequency(double min, double max)
    {
        settings.x_range = RANGE_MANUAL;
        settings.x_min = min;
        settings.x_max = max;
    }

    void manual_plot(int p, double min, double max)
    {
        settings.range[p] = RANGE_MANUAL;
        settings.min[p] = min;
        settings.max[p] = max;
    }

    recording_surface draw()
    {
        rescale_lcr_bode_graph(settings, *sweep, view.plot_a_value, view.plot_b_value);
        recording_surface surface;
        draw_lcr_bode(surface, area, settings, *sweep, view);
        expect_drawn_within(surface, area);
        return surface;
    }

    std::uint32_t colour_a() const { return static_cast<std::uint32_t>(settings.colour[PLOT_A]); }
    std::uint32_t colour_b() const { return static_cast<std::uint32_t>(settings.colour[PLOT_B]); }
};

// The vertical lines across the whole plot, in one pen colour.
std::vector<int> vertical_lines(const recording_surface& surface, std::uint32_t colour, const s_rect& plot)
{
    std::vector<int> xs;
    for (const s_drawn_segment& s : segments_in_colour(surface, colour)) {
        if (s.x0 == s.x1 && s.y0 == plot.top && s.y1 == plot.bottom) {
            xs.push_back(s.x0);
        }
    }
    return xs;
}

std::vector<int> horizontal_lines(const recording_surface& surface, std::uint32_t colour, int from_x, int to_x)
{
    std::vector<int> ys;
    for (const s_drawn_segment& s : segments_in_colour(surface, colour)) {
        if (s.y0 == s.y1 && s.x0 == from_x && s.x1 == to_x) {
            ys.push_back(s.y0);
        }
    }
    return ys;
}

// Labels below the plot, in order.
std::vector<std::string> frequency_labels(const recording_surface& surface, const s_rect& plot)
{
    std::vector<std::string> labels;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.op == drawing_op::text_in_rect && r.area.top == plot.bottom + 5) {
            labels.push_back(r.text);
        }
    }
    return labels;
}

TEST_F(LcrBodeDraw, titles_by_layout_code)
{
    const struct {
        int layout, a, b;
        std::string title_a, title_b;
    } cases[] = {
        {LCR_LAYOUT_FULL, 3, 4, "Z MAGNITUDE (Ohms)", "Z PHASE (\xB0)"},
        {LCR_LAYOUT_FULL, 12, 1, "PARALLEL R (Ohms)", "Q FACTOR"},
        {LCR_LAYOUT_IMPEDANCE, 1, 4, "Z REAL (ohms)", "Z PHASE(\xB0)"},
        {LCR_LAYOUT_ADMITTANCE, 3, 2, "Y MAGNITUDE (S)", "Y QUADRATURE (S)"},
        {LCR_LAYOUT_BASIC, 2, 0, "TAN\xF0", "None"},
        {LCR_LAYOUT_READING, 7, 5, "R (ohms)", "L (H)"},
        {LCR_LAYOUT_IMPEDANCE, 6, 0, "None", "None"},  // code 7 has four quantities
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title_a);
        view.layout = c.layout;
        view.plot_a_value = c.a;
        view.plot_b_value = c.b;
        const recording_surface surface = draw();
        // The titles come first: the frequency title, then the left and the right one.
        const std::vector<s_drawing_record> texts = text_records(surface);
        ASSERT_GE(texts.size(), 3u);
        const s_drawing_record& left = texts[1];
        EXPECT_EQ(left.text, c.title_a);
        EXPECT_EQ(left.op, drawing_op::text_at);
        EXPECT_EQ(left.x, 20);
        EXPECT_EQ(left.current_font.direction, font_direction::down);
        EXPECT_EQ(left.current_text_colour, colour_a());
        const s_drawing_record& right = texts[2];
        EXPECT_EQ(right.text, c.title_b);
        EXPECT_EQ(right.x, 780);
        EXPECT_EQ(right.current_font.direction, font_direction::up);
        EXPECT_EQ(right.current_text_colour, colour_b());
        const s_drawing_record bottom = text_record(surface, "FREQUENCY (Hz)");
        EXPECT_EQ(bottom.area.top, 450);
        EXPECT_EQ(bottom.area.bottom, 470);
        EXPECT_EQ(bottom.align, text_align::centre);
    }
    view.settings_hidden = true;
    const recording_surface hidden = draw();
    EXPECT_EQ(text_record(hidden, "FREQUENCY (Hz)").area.top, 390);
    EXPECT_EQ(records_of(hidden, drawing_op::fill_rect).front().area.bottom, 370 + 4);
}

TEST_F(LcrBodeDraw, logarithmic_frequency_axis)
{
    const struct {
        double min, max;
        std::vector<std::string> labels;
        std::size_t majors, minors;
    } cases[] = {
        {100, 1e5, {"100", "1k", "10k", "100k"}, 2, 24},  // no lines on the plot's edges
        {200, 500, {"300", "400"}, 2, 0},
        {150, 500, {"200", "300", "400"}, 2, 1},
        {1000, 1500, {"1k", "1k5"}, 0, 0},  // no multiple of 1000 inside: the ends
        {0.01, 10, {"10.000 m", "100.00 m", "1", "10"}, 2, 24},
        {200, 250, {"200", "250"}, 0, 0},
        {0, 1e-3, {}, 0, 0},  // drawn from 1e-6: three decades
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.min);
        manual_frequency(c.min, c.max);
        const recording_surface surface = draw();
        if (c.min == 0) {
            EXPECT_EQ(frequency_labels(surface, plot),
                      (std::vector<std::string>{"1.0000 u", "10.000 u", "100.00 u", "1.0000 m"}));
            continue;
        }
        EXPECT_EQ(frequency_labels(surface, plot), c.labels);
        EXPECT_EQ(vertical_lines(surface, GRID_LIGHT_GREY, plot).size(), c.majors);
        EXPECT_EQ(vertical_lines(surface, GRID_DARK_GREY, plot).size(), c.minors);
    }
    // The decades of 100 Hz to 100 kHz a third of the plot apart, labelled
    // from 8 pixels left of their line.
    manual_frequency(100, 1e5);
    const recording_surface surface = draw();
    EXPECT_EQ(vertical_lines(surface, GRID_LIGHT_GREY, plot), (std::vector<int>{293, 507}));
    EXPECT_EQ(text_record(surface, "1k").area.left, 293 - 8);
    EXPECT_EQ(text_record(surface, "1k").area.right, 293 + 45);
}

TEST_F(LcrBodeDraw, linear_frequency_axis_has_ten_steps)
{
    settings.x_axis_scale = AXIS_LINEAR;
    manual_frequency(0, 1000);
    const recording_surface surface = draw();
    std::vector<std::string> expected;
    for (int k = 0; k <= 10; ++k) {
        expected.push_back(std::to_string(100 * k) + ".00");
    }
    EXPECT_EQ(frequency_labels(surface, plot), expected);
    const s_drawing_record third = text_record(surface, "300.00");
    EXPECT_EQ(third.align, text_align::centre);
    EXPECT_EQ((third.area.left + third.area.right) / 2, 80 + 192);
    // Plot A is linear, so the division lines are dotted minor lines.
    const std::vector<int> lines = vertical_lines(surface, GRID_DARK_GREY, plot);
    EXPECT_EQ(lines.size(), 9u);
    for (const s_drawn_segment& s : segments_in_colour(surface, GRID_DARK_GREY)) {
        EXPECT_EQ(s.pen.style, pen_style::dotted);
    }
}

TEST_F(LcrBodeDraw, linear_value_axes_label_both_sides)
{
    manual_plot(PLOT_A, 0, 800);
    manual_plot(PLOT_B, 0, 0.8);
    const recording_surface surface = draw();
    for (int j = 0; j <= 8; ++j) {
        const int y = 430 - 420 * j / 8;
        const s_drawing_record a = text_record(surface, std::to_string(100 * j) + ".0");
        EXPECT_EQ(a.area.left, 20);
        EXPECT_EQ(a.area.right, 70);
        EXPECT_EQ(a.area.top, y - 10);
        EXPECT_EQ(a.align, text_align::right);
        if (j == 0) {
            continue;  // plot B's "0.0E+000", below
        }
        const s_drawing_record b = text_record(surface, std::to_string(j) + ".0E-001");
        EXPECT_EQ(b.area.left, 730);
        EXPECT_EQ(b.area.right, 780);
        EXPECT_EQ(b.area.top, y - 10);
        EXPECT_EQ(b.align, text_align::left);
    }
    text_record(surface, "0.0E+000");
    // Plot A's lines cross the plot, plot B's the right half only.
    EXPECT_EQ(horizontal_lines(surface, GRID_DARK_GREY, 80, 720).size(), 7u);
    EXPECT_EQ(horizontal_lines(surface, GRID_DARK_GREY, 400, 720).size(), 7u);
}

TEST_F(LcrBodeDraw, logarithmic_value_axis_labels_its_decades)
{
    settings.axis_scale[PLOT_A] = AXIS_LOG;
    manual_plot(PLOT_A, 1, 1e4);
    view.plot_b_value = 0;
    const recording_surface surface = draw();
    const char* decades[] = {"1.0000 ", "10.000 ", "100.00 ", "1.0000 k", "10.000 k"};
    for (int d = 0; d <= 4; ++d) {
        const s_drawing_record label = text_record(surface, decades[d]);
        EXPECT_EQ(label.area.top, 430 - 420 * d / 4 - 10) << decades[d];
        EXPECT_EQ(label.area.right, 70);
    }
    EXPECT_EQ(horizontal_lines(surface, GRID_LIGHT_GREY, 80, 720).size(), 3u);  // 10 to 1000
    EXPECT_EQ(horizontal_lines(surface, GRID_DARK_GREY, 80, 720).size(), 32u);
    // With plot A logarithmic every minor line is solid.
    for (const s_drawn_segment& s : segments_in_colour(surface, GRID_DARK_GREY)) {
        EXPECT_EQ(s.pen.style, pen_style::solid);
    }
}

TEST_F(LcrBodeDraw, curves_join_the_points_in_their_pens)
{
    settings.weight[PLOT_A] = WEIGHT_THIN;
    settings.weight[PLOT_B] = WEIGHT_THICK;
    const recording_surface surface = draw();
    const std::vector<s_drawn_segment> a = segments_in_colour(surface, colour_a());
    const std::vector<s_drawn_segment> b = segments_in_colour(surface, colour_b());
    ASSERT_EQ(a.size(), 9u);
    ASSERT_EQ(b.size(), 9u);
    for (const s_drawn_segment& s : a) {
        EXPECT_EQ(s.pen.width, 1);
        EXPECT_TRUE(segment_within(s, plot));
    }
    for (const s_drawn_segment& s : b) {
        EXPECT_EQ(s.pen.width, 3);
        EXPECT_TRUE(segment_within(s, plot));
    }
    // Frequencies 100 Hz to 100 kHz fill the width; |Z| runs from 1000 to
    // 12250, padded by 1125 at both ends, so the first point stands
    // (1000 + 125) / 13500 x 420 = 35 pixels above the bottom.
    EXPECT_EQ(a.front().x0, 80);
    EXPECT_EQ(a.back().x1, 720);
    EXPECT_EQ(a.front().y0, 430 - 35);
}

TEST_F(LcrBodeDraw, curves_are_cut_at_every_edge)
{
    // Three points: up through the top, back in and out through the right.
    sweep = lcr_block({{100, 0, 0, 50}, {1000, 0, 0, 150}, {100000, 0, 0, 0}});
    view.plot_b_value = 0;
    manual_frequency(100, 10000);
    manual_plot(PLOT_A, 0, 100);
    const recording_surface surface = draw();
    const std::vector<s_drawn_segment> a = segments_in_colour(surface, colour_a());
    ASSERT_EQ(a.size(), 2u);
    // Up to the top at half way to 1 kHz (a quarter of the width) ...
    EXPECT_EQ(a[0].x0, 80);
    EXPECT_EQ(a[0].y0, 220);
    EXPECT_EQ(a[0].x1, 240);
    EXPECT_EQ(a[0].y1, 10);
    // ... back in from the top a third of the way to 100 kHz, and out
    // through the right edge (10 kHz) half way down.
    EXPECT_EQ(a[1].x0, 613);
    EXPECT_EQ(a[1].y0, 10);
    EXPECT_EQ(a[1].x1, 720);
    EXPECT_EQ(a[1].y1, 430 - 315);
}

TEST_F(LcrBodeDraw, values_a_logarithmic_axis_cannot_show_break_the_curve)
{
    sweep = lcr_block({{100, 0, 0, 10}, {200, 0, 0, 20}, {300, 0, 0, -5}, {400, 0, 0, 40}, {500, 0, 0, 0},
                       {600, 0, 0, 60}, {700, 0, 0, NaN}, {800, 0, 0, 80}, {900, 0, 0, 90}});
    settings.axis_scale[PLOT_A] = AXIS_LOG;
    view.plot_b_value = 0;
    const recording_surface surface = draw();
    // Only 100-200 and 800-900 have both ends drawable.
    EXPECT_EQ(segments_in_colour(surface, colour_a()).size(), 2u);
}

TEST_F(LcrBodeDraw, ranges_without_meaning_draw_the_frame_and_titles_only)
{
    const struct {
        std::string name;
        std::int32_t scale;
        double min, max;
    } cases[] = {
        {"equal ends", AXIS_LOG, 1000, 1000},
        {"not a number", AXIS_LOG, NaN, 1000},
        {"an infinite end", AXIS_LINEAR, 0, INF},
        {"a logarithmic axis below 0", AXIS_LOG, -10, -1},
        {"a logarithmic axis ending at 0", AXIS_LOG, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        settings.x_axis_scale = c.scale;
        manual_frequency(c.min, c.max);
        const recording_surface surface = draw();
        EXPECT_TRUE(surface.segments().empty());
        EXPECT_TRUE(records_of(surface, drawing_op::ellipse).empty());
        EXPECT_EQ(surface.texts(), (std::vector<std::string>{"FREQUENCY (Hz)", "IMPEDANCE (ohms)", "PHASE (\xB0)"}));
        EXPECT_EQ(records_of(surface, drawing_op::fill_rect).size(), 1u);
        EXPECT_EQ(records_of(surface, drawing_op::frame_rect).size(), 5u);
    }
    // A value axis without meaning leaves out its own labels, lines and curve.
    manual_frequency(100, 1e5);
    manual_plot(PLOT_A, 5, 5);
    const recording_surface surface = draw();
    EXPECT_TRUE(segments_in_colour(surface, colour_a()).empty());
    EXPECT_EQ(segments_in_colour(surface, colour_b()).size(), 9u);
    EXPECT_EQ(frequency_labels(surface, plot).size(), 4u);
}

TEST_F(LcrBodeDraw, an_empty_block_draws_its_axes_without_curves_or_cursors)
{
    manual_frequency(100, 1e5);
    manual_plot(PLOT_A, 0, 800);
    manual_plot(PLOT_B, -90, 0);
    for (const int points : {0, -3}) {
        sweep->points = points;
        const recording_surface surface = draw();
        EXPECT_EQ(frequency_labels(surface, plot).size(), 4u);
        text_record(surface, "800.0");
        text_record(surface, "-90.0");
        EXPECT_TRUE(segments_in_colour(surface, colour_a()).empty());
        EXPECT_TRUE(segments_in_colour(surface, colour_b()).empty());
        EXPECT_TRUE(records_of(surface, drawing_op::ellipse).empty());
        for (const s_drawing_record& r : text_records(surface)) {
            EXPECT_FALSE(r.current_font.bold) << r.text;
        }
    }
}

TEST_F(LcrBodeDraw, cursors_mark_their_points_and_read_out)
{
    view.cursor_a = 3;
    view.cursor_b = 3;
    recording_surface surface = draw();
    std::vector<s_drawing_record> readouts;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.current_font.bold) {
            readouts.push_back(r);
        }
    }
    ASSERT_EQ(readouts.size(), 3u);
    EXPECT_EQ(readouts[0].text, "Frequency: 1.0000 kHz");
    EXPECT_EQ(readouts[1].text, "Imped: 4.7500 kOhms");
    EXPECT_EQ(readouts[2].text, "Phase: -30.000 \xB0");
    EXPECT_EQ(readouts[0].x, 50);
    for (std::size_t i = 0; i < readouts.size(); ++i) {
        EXPECT_EQ(readouts[i].y, 500 - 43);
    }
    // Items 125 pixels apart, or further where the one before is longer
    // (21 characters of 7 pixels and a gap of 10).
    EXPECT_EQ(readouts[1].x, 50 + 157);
    EXPECT_EQ(readouts[2].x, 50 + 157 + 143);
    EXPECT_EQ(readouts[1].current_text_colour, colour_a());
    EXPECT_EQ(readouts[2].current_text_colour, colour_b());
    // A circle of radius 3 on each curve at 1 kHz, a third of the way across.
    const std::vector<s_drawing_record> circles = records_of(surface, drawing_op::ellipse);
    ASSERT_EQ(circles.size(), 2u);
    for (const s_drawing_record& c : circles) {
        EXPECT_EQ(c.area.left, 80 + 213 - 3);
        EXPECT_EQ(c.area.right, 80 + 213 + 4);
    }

    // Cursors on two points read out each frequency; a cursor past the end
    // stands on the last point; the row rises with the settings panel hidden.
    view.cursor_b = 99;
    view.layout = LCR_LAYOUT_IMPEDANCE;
    view.settings_hidden = true;
    surface = draw();
    std::vector<std::string> texts;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.current_font.bold) {
            texts.push_back(r.text);
            EXPECT_EQ(r.y, 500 - 93);
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"Freq.: 1.0000 kHz", "Z Mag.: 4.7500 kOhms", "Freq.: 100.00 kHz",
                                               "Z Phase: -90.000 \xB0"}));

    // A plot without its cursor has neither marker nor read-out.
    settings.cursor[PLOT_A] = false;
    settings.cursor[PLOT_B] = false;
    surface = draw();
    EXPECT_TRUE(records_of(surface, drawing_op::ellipse).empty());
    for (const s_drawing_record& r : text_records(surface)) {
        EXPECT_FALSE(r.current_font.bold) << r.text;
    }
}

}  // namespace
