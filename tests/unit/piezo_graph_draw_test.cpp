// The Piezo graph in the view and in the report picture on a recording
// surface: titles, the impedance and phase lines by display option, the
// frequency axis, the two curves, and blocks without a usable range.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "graph/colour_value.h"
#include "graph/recording_surface.h"
#include "impedance/piezo_graph_draw.h"
#include "support/drawing_checks.h"
#include "support/lcr_block_builder.h"

namespace {

const double NaN = std::nan("");

constexpr std::uint32_t impedance_decade = rgb_colour(255, 150, 150);
constexpr std::uint32_t impedance_line = rgb_colour(150, 60, 60);
constexpr std::uint32_t phase_line = rgb_colour(150, 150, 255);
constexpr std::uint32_t frequency_major = rgb_colour(169, 169, 169);
constexpr std::uint32_t frequency_minor = rgb_colour(85, 85, 85);
constexpr std::uint32_t impedance_curve = rgb_colour(255, 0, 0);
constexpr std::uint32_t phase_curve = rgb_colour(0, 0, 255);

// A resonance: |Z| 12.5 Ohms at 1 kHz rising to 12.5 kOhms at 100 kHz, so
// the impedance axis runs from 10 Ohms to 15 kOhms; phase -80 to 80.
std::unique_ptr<s_lcr_sweep> resonator_block(int phase_convention = 0)
{
    std::vector<std::vector<double>> rows;
    for (int i = 0; i <= 20; ++i) {
        const double f = 1000 * std::pow(10.0, i / 10.0);
        const double z = 12.5 * std::pow(10.0, 3 * i / 20.0);
        rows.push_back({f, 0, 0, z, -80.0 + 8 * i});
    }
    return lcr_block(rows, phase_convention);
}

enum class form { view, picture };

class PiezoGraphDraw : public ::testing::Test {
protected:
    const s_rect area{0, 0, 800, 500};
    const s_rect plot{80, 10, 720, 450};  // 640 wide, 440 high
    std::unique_ptr<s_lcr_sweep> sweep = resonator_block();
    s_piezo_grid grid;

    recording_surface draw(form f = form::view)
    {
        recording_surface surface;
        if (f == form::view) {
            draw_piezo_graph(surface, area, *sweep, grid);
        } else {
            draw_piezo_graph_picture(surface, area, *sweep, grid);
        }
        expect_drawn_within(surface, area);
        return surface;
    }
};

std::vector<s_drawn_segment> horizontal_in(const recording_surface& surface, std::uint32_t colour)
{
    std::vector<s_drawn_segment> found;
    for (const s_drawn_segment& s : segments_in_colour(surface, colour)) {
        if (s.y0 == s.y1) {
            found.push_back(s);
        }
    }
    return found;
}

TEST_F(PiezoGraphDraw, titles_and_background_of_each_form)
{
    const struct {
        form f;
        brush_kind background;
        int impedance_x;
        font_direction impedance, phase;
    } cases[] = {
        {form::view, brush_kind::black, 20, font_direction::down, font_direction::up},
        {form::picture, brush_kind::white, 15, font_direction::up, font_direction::down},
    };
    for (const auto& c : cases) {
        const recording_surface surface = draw(c.f);
        EXPECT_EQ(records_of(surface, drawing_op::fill_rect).front().brush.kind, c.background);
        const std::vector<s_drawing_record> texts = text_records(surface);
        ASSERT_GE(texts.size(), 3u);
        EXPECT_EQ(texts[0].text, "FREQUENCY (Hz)");
        EXPECT_EQ(texts[0].area.top, 480);
        EXPECT_EQ(texts[0].area.bottom, 500);
        EXPECT_EQ(texts[0].current_text_colour, COLOUR_BLACK);
        EXPECT_EQ(texts[1].text, "IMPEDANCE (ohms)");
        EXPECT_EQ(texts[1].x, c.impedance_x);
        EXPECT_EQ(texts[1].current_font.direction, c.impedance);
        EXPECT_EQ(texts[1].current_text_colour, rgb_colour(250, 0, 0));
        EXPECT_EQ(texts[2].text, "PHASE (\xB0)");
        EXPECT_EQ(texts[2].x, 780);
        EXPECT_EQ(texts[2].current_font.direction, c.phase);
        EXPECT_EQ(texts[2].current_text_colour, rgb_colour(0, 0, 200));
    }
}

TEST_F(PiezoGraphDraw, impedance_lines_by_display_option)
{
    const struct {
        int option;
        int decade_from, decade_to, decade_width;
        int line_width;
    } cases[] = {
        {PIEZO_LINES_TICKS, 75, 80, 3, 2},
        {PIEZO_LINES_SHORT, 80, 80 + 64, 2, 1},
        {PIEZO_LINES_ACROSS, 80, 720, 2, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.option);
        grid.impedance_lines = c.option;
        const recording_surface surface = draw();
        // 10 Ohms to 15 kOhms: decades at 10, 100, 1k and 10k.
        const std::vector<s_drawn_segment> decades = horizontal_in(surface, impedance_decade);
        ASSERT_EQ(decades.size(), 4u);
        for (const s_drawn_segment& s : decades) {
            EXPECT_EQ(s.x0, c.decade_from);
            EXPECT_EQ(s.x1, c.decade_to);
            EXPECT_EQ(s.pen.width, c.decade_width);
        }
        EXPECT_EQ(decades.front().y0, 450);  // 10 Ohms at the bottom
        // k = 2 to 9 in each of the three full decades; 20 kOhms is past the top.
        const std::vector<s_drawn_segment> lines = horizontal_in(surface, impedance_line);
        ASSERT_EQ(lines.size(), 8u * 3);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].pen.width, c.line_width);
            if (c.option != PIEZO_LINES_TICKS) {
                EXPECT_EQ(lines[i].x1 - lines[i].x0, 6 * static_cast<int>(i % 8 + 2)) << i;
            }
        }
        const s_drawing_record label = text_record(surface, "1.0000 k");
        EXPECT_EQ(label.area.left, 20);
        EXPECT_EQ(label.area.right, 70);
        EXPECT_EQ(label.align, text_align::right);
        EXPECT_EQ(label.current_text_colour, COLOUR_BLACK);
    }
}

TEST_F(PiezoGraphDraw, a_narrow_impedance_range_labels_its_odd_multiples)
{
    sweep = lcr_block({{1000, 0, 0, 250, 0}, {2000, 0, 0, 500, 10}});  // 200 to 600 Ohms
    const recording_surface surface = draw();
    std::vector<std::string> labels;
    for (const s_drawing_record& r : text_records(surface)) {
        if (r.area.right == 70) {
            labels.push_back(r.text);
        }
    }
    EXPECT_EQ(labels, (std::vector<std::string>{"300.00 ", "500.00 "}));
    EXPECT_EQ(horizontal_in(surface, impedance_line).size(), 5u);  // 200 to 600
}

TEST_F(PiezoGraphDraw, phase_axis_by_convention_and_display_option)
{
    const struct {
        int convention;
        int first;
    } conventions[] = {{0, -180}, {1, -360}, {2, 0}, {7, -180}};
    for (const auto& c : conventions) {
        SCOPED_TRACE(c.convention);
        sweep = resonator_block(c.convention);
        const recording_surface surface = draw();
        for (int j = 0; j <= 6; ++j) {
            const s_drawing_record label = text_record(surface, std::to_string(c.first + 60 * j));
            EXPECT_EQ(label.area.left, 730);
            EXPECT_EQ(label.area.top, 450 - 440 * j / 6 - 10);
            EXPECT_EQ(label.align, text_align::left);
        }
    }
    const struct {
        int option;
        int from, to, width;
    } options[] = {
        {PIEZO_LINES_TICKS, 725, 720, 2}, {PIEZO_LINES_SHORT, 720, 656, 1}, {PIEZO_LINES_ACROSS, 720, 80, 1}};
    for (const auto& o : options) {
        SCOPED_TRACE(o.option);
        grid.phase_lines = o.option;
        const std::vector<s_drawn_segment> lines = horizontal_in(draw(), phase_line);
        ASSERT_EQ(lines.size(), 7u);
        for (const s_drawn_segment& s : lines) {
            EXPECT_EQ(s.x0, o.from);
            EXPECT_EQ(s.x1, o.to);
            EXPECT_EQ(s.pen.width, o.width);
        }
    }
}

TEST_F(PiezoGraphDraw, frequency_axis_by_decades)
{
    const recording_surface surface = draw();
    // 1 kHz to 100 kHz.
    std::vector<int> majors;
    for (const s_drawn_segment& s : segments_in_colour(surface, frequency_major)) {
        EXPECT_EQ(s.pen.width, 2);
        majors.push_back(s.x0);
    }
    EXPECT_EQ(majors, (std::vector<int>{400}));  // 10 kHz; the ends lie on the frame
    EXPECT_EQ(segments_in_colour(surface, frequency_minor).size(), 16u);
    for (const char* label : {"1k", "10k", "100k"}) {
        EXPECT_EQ(text_record(surface, label).area.top, 455) << label;
    }
    sweep = lcr_block({{0.1, 0, 0, 10, 0}, {10, 0, 0, 20, 0}});
    const recording_surface low = draw();
    for (const char* label : {"100.00 m", "1", "10"}) {
        text_record(low, label);
    }
}

TEST_F(PiezoGraphDraw, curves_in_each_form)
{
    const struct {
        form f;
        int width;
        int right;
    } cases[] = {{form::view, 1, 720}, {form::picture, 2, 718}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        const recording_surface surface = draw(c.f);
        for (const std::uint32_t colour : {impedance_curve, phase_curve}) {
            const std::vector<s_drawn_segment> curve = segments_in_colour(surface, colour);
            ASSERT_EQ(curve.size(), 20u);
            EXPECT_EQ(curve.front().x0, 80);
            EXPECT_EQ(curve.back().x1, c.right);
            for (const s_drawn_segment& s : curve) {
                EXPECT_EQ(s.pen.width, c.width);
                EXPECT_TRUE(segment_within(s, plot));
            }
        }
    }
    // |Z| from 12.5 on an axis from 10: log10(1.25) / log10(1500) x 440 above the bottom.
    const std::vector<s_drawn_segment> impedance = segments_in_colour(draw(), impedance_curve);
    EXPECT_EQ(impedance.front().y0, 450 - 13);
    // Phase -80 on an axis from -180: 100 / 360 x 440.
    EXPECT_EQ(segments_in_colour(draw(), phase_curve).front().y0, 450 - 122);

    // Phases beyond the axis are held to its edges; an impedance of 0 is skipped.
    sweep = lcr_block({{1000, 0, 0, 20, -500}, {2000, 0, 0, 0, 500}, {3000, 0, 0, 40, 0}, {4000, 0, 0, 50, 0}});
    const recording_surface held = draw();
    const std::vector<s_drawn_segment> phase = segments_in_colour(held, phase_curve);
    ASSERT_EQ(phase.size(), 3u);
    EXPECT_EQ(phase[0].y0, 450);
    EXPECT_EQ(phase[0].y1, 10);
    EXPECT_EQ(segments_in_colour(held, impedance_curve).size(), 1u);
}

TEST_F(PiezoGraphDraw, blocks_without_a_usable_range_draw_the_frame_and_titles_only)
{
    const struct {
        std::string name;
        std::vector<std::vector<double>> rows;
    } cases[] = {
        {"no points", {}},
        {"values not finite", {{NaN, 0, 0, NaN, 0}, {NaN, 0, 0, NaN, 0}}},
        {"negative impedances", {{1000, 0, 0, -5, 0}, {2000, 0, 0, -7, 0}}},
        {"negative frequencies", {{-1000, 0, 0, 5, 0}, {-2000, 0, 0, 7, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        sweep = lcr_block(c.rows);
        for (const form f : {form::view, form::picture}) {
            const recording_surface surface = draw(f);
            EXPECT_TRUE(surface.segments().empty());
            EXPECT_EQ(surface.texts(),
                      (std::vector<std::string>{"FREQUENCY (Hz)", "IMPEDANCE (ohms)", "PHASE (\xB0)"}));
            EXPECT_EQ(records_of(surface, drawing_op::frame_rect).size(), 5u);
        }
    }
}

}  // namespace
