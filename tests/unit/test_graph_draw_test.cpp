// The test graph drawn into the recording surface: the axes' lines and
// labels where the graph puts them, curves joined, clipped and broken as
// they must be, the margin marks and read-outs, and ranges that cannot be
// drawn giving the frame and titles alone. Structure, not pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "fra/plot_margins.h"
#include "fra/test_graph_hooks.h"
#include "graph/fit_font.h"
#include "graph/recording_surface.h"
#include "graph/test_graph.h"
#include "graph/test_graph_draw.h"
#include "graph/test_graph_ranges.h"

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();
constexpr double INF = std::numeric_limits<double>::infinity();

// The graph area of a window of the minimum size: the plot is 888 x 440.
const s_rect AREA{0, 0, 1008, 600};
const s_rect PLOT{60, 10, 948, 450};
constexpr int W = 888;
constexpr int H = 440;

constexpr std::uint32_t LIGHT_GRID = 11119017;
constexpr std::uint32_t DARK_GRID = 5592405;

struct s_drawn_text {
    std::string text;
    s_rect area;
    s_font font;
    std::uint32_t colour;
    drawing_op op;
};

std::vector<s_drawn_text> drawn_texts(const recording_surface& surface)
{
    std::vector<s_drawn_text> texts;
    for (const s_drawing_record& r : surface.records()) {
        if (r.op == drawing_op::text_in_rect || r.op == drawing_op::text_at) {
            const s_rect where = r.op == drawing_op::text_at ? s_rect{r.x, r.y, r.x, r.y} : r.area;
            texts.push_back({r.text, where, r.current_font, r.current_text_colour, r.op});
        }
    }
    return texts;
}

const s_drawn_text* find_text(const std::vector<s_drawn_text>& texts, const std::string& text)
{
    for (const s_drawn_text& t : texts) {
        if (t.text == text) {
            return &t;
        }
    }
    return nullptr;
}

// The vertical lines drawn in a pen of colour: their x positions.
std::vector<int> vertical_lines(const recording_surface& surface, std::uint32_t colour)
{
    std::vector<int> xs;
    for (const s_drawn_segment& s : surface.segments()) {
        if (s.pen.colour == colour && s.pen.width == 1 && s.x0 == s.x1 && s.y0 == PLOT.top + 1 && s.y1 == PLOT.bottom - 1) {
            xs.push_back(s.x0);
        }
    }
    return xs;
}

std::vector<s_drawn_segment> segments_in(const recording_surface& surface, std::uint32_t colour, int width)
{
    std::vector<s_drawn_segment> found;
    for (const s_drawn_segment& s : surface.segments()) {
        if (s.pen.colour == colour && s.pen.width == width) {
            found.push_back(s);
        }
    }
    return found;
}

int x_of_log(double f, double minimum, double maximum)
{
    return PLOT.left + static_cast<int>(std::lround(std::log10(f / minimum) * W / std::log10(maximum / minimum)));
}

// A graph of tests with the given points, named "Test 1"..., opening
// appearances, ranges as given.
struct graph_fixture {
    s_test_graph_state graph;

    explicit graph_fixture(const std::vector<std::vector<s_test_graph_point>>& tests)
    {
        for (std::size_t i = 0; i < tests.size(); ++i) {
            auto plot = std::make_unique<s_test_plot>();
            plot->name = "Test " + std::to_string(i + 1);
            plot->points = tests[i];
            plot->appearance = plot_appearance_opening(static_cast<int>(i));
            graph.tests.push_back(std::move(plot));
        }
    }
    graph_fixture& frequency(double minimum, double maximum, bool log = true)
    {
        graph.frequency_min = minimum;
        graph.frequency_max = maximum;
        graph.log_frequency = log;
        return *this;
    }
    graph_fixture& gain(double minimum, double maximum)
    {
        graph.gain_min = minimum;
        graph.gain_max = maximum;
        return *this;
    }
    recording_surface draw(bool for_bitmap = false, s_test_graph_cursors cursors = {}) const
    {
        recording_surface surface;
        draw_test_graph(graph, cursors, surface, AREA, for_bitmap);
        return surface;
    }
};

// The loop of the tool's margin tests: 0 dB at 150 Hz (phase 20), 0 degrees
// at 350 Hz (gain -25).
const std::vector<s_test_graph_point> LOOP = {{100, 10, 30}, {200, -10, 10}, {300, -20, 10}, {400, -30, -10}};

std::vector<s_test_graph_point> inside_points(int count)
{
    std::vector<s_test_graph_point> points;
    for (int i = 0; i < count; ++i) {
        const double f = 100 * std::pow(10.0, 3.0 * i / (count - 1));
        points.push_back({f, -20 + 10 * std::sin(i * 0.1), 45 * std::cos(i * 0.1)});
    }
    return points;
}

TEST(TestGraphDraw, LogarithmicAxisOfThreeDecadesHasMajorLinesAndLabelsAtDecadesAndEightMinorLinesPerDecade)
{
    const recording_surface surface = graph_fixture({}).frequency(100, 100000).gain(-40, 40).draw();
    const std::vector<s_drawn_text> texts = drawn_texts(surface);
    const char* labels[] = {"100", "1k", "10k", "100k"};
    for (int d = 0; d < 4; ++d) {
        const s_drawn_text* label = find_text(texts, labels[d]);
        ASSERT_NE(label, nullptr) << labels[d];
        const int x = PLOT.left + W * d / 3;
        EXPECT_EQ(label->area.left, x - 8) << labels[d];
        EXPECT_EQ(label->area.right, x + 45);
        EXPECT_EQ(label->area.top, PLOT.bottom + 5);
        EXPECT_EQ(label->area.bottom, PLOT.bottom + 25);
    }
    // The decades at the plot's edges are the frame; those inside are lines.
    EXPECT_EQ(vertical_lines(surface, LIGHT_GRID), (std::vector<int>{PLOT.left + W / 3, PLOT.left + 2 * W / 3}));
    std::vector<int> expected_minor;
    for (const double decade : {100.0, 1000.0, 10000.0}) {
        for (int k = 2; k <= 9; ++k) {
            expected_minor.push_back(x_of_log(k * decade, 100, 100000));
        }
    }
    EXPECT_EQ(vertical_lines(surface, DARK_GRID), expected_minor);
}

TEST(TestGraphDraw, FrequencyAxesOfLessThanADecadeAndLinearAxes)
{
    struct axis_case {
        const char* name;
        double minimum, maximum;
        bool log;
        std::vector<std::string> labels;
        std::vector<double> lines;  // frequencies of the lines inside the plot
        std::uint32_t line_colour;
        pen_style minor_style;
    };
    std::vector<double> sixths;
    for (int k = 1; k < 18; ++k) {
        sixths.push_back(k * 100.0 / 6);
    }
    const axis_case cases[] = {
        {"200 to 500 Hz: the hundreds above the minimum", 200, 500, true, {"300", "400"}, {300, 400}, LIGHT_GRID, pen_style::solid},
        {"150 to 190 Hz: no hundred inside, the ends labelled", 150, 190, true, {"150", "190"}, {}, LIGHT_GRID, pen_style::solid},
        {"0 to 300 Hz linear: steps of 100 / 6", 0, 300, false,
         {"0", "16", "33", "50", "66", "83", "100", "116", "133", "150", "166", "183", "200", "216", "233", "250", "266", "283", "300"},
         sixths, DARK_GRID, pen_style::dotted},
        {"10 to 50 Hz linear: steps of 10", 10, 50, false, {"10", "20", "30", "40", "50"}, {20, 30, 40}, DARK_GRID, pen_style::dotted},
    };
    for (const axis_case& c : cases) {
        SCOPED_TRACE(c.name);
        const recording_surface surface = graph_fixture({}).frequency(c.minimum, c.maximum, c.log).gain(-40, 40).draw();
        std::vector<std::string> labels;
        for (const s_drawn_text& t : drawn_texts(surface)) {
            if (t.area.top == PLOT.bottom + 5) {
                labels.push_back(t.text);
            }
        }
        EXPECT_EQ(labels, c.labels);
        std::vector<int> expected;
        for (const double f : c.lines) {
            expected.push_back(c.log ? x_of_log(f, c.minimum, c.maximum)
                                     : PLOT.left + static_cast<int>(std::lround((f - c.minimum) * W / (c.maximum - c.minimum))));
        }
        EXPECT_EQ(vertical_lines(surface, c.line_colour), expected);
        // The gain grid takes the minor pen: dotted when the frequency axis is linear.
        bool found_grid = false;
        for (const s_drawn_segment& s : surface.segments()) {
            if (s.y0 == s.y1 && s.pen.colour == DARK_GRID) {
                EXPECT_EQ(s.pen.style, c.minor_style);
                found_grid = true;
            }
        }
        EXPECT_TRUE(found_grid);
    }
}

TEST(TestGraphDraw, ValueAxesLabelNineHeightsAndTitlesAreCentred)
{
    graph_fixture fixture({});
    fixture.frequency(10, 10000).gain(-60, 20);
    fixture.graph.phase_range_setting = 1;
    const std::vector<s_drawn_text> texts = drawn_texts(fixture.draw());
    for (int j = 0; j <= 8; ++j) {
        const int y = PLOT.bottom - static_cast<int>(std::lround(H * j / 8.0));
        const s_drawn_text* gain = find_text(texts, std::to_string(-60 + 10 * j) + ".0");
        ASSERT_NE(gain, nullptr) << j;
        EXPECT_EQ(gain->area.left, 20);
        EXPECT_EQ(gain->area.right, 50);
        EXPECT_EQ(gain->area.top, y - 10);
        const s_drawn_text* phase = find_text(texts, std::to_string(-360 + 45 * j));
        ASSERT_NE(phase, nullptr) << j;
        EXPECT_EQ(phase->area.left, W + 70);
        EXPECT_EQ(phase->area.top, y - 10);
    }
    const s_drawn_text* frequency = find_text(texts, "FREQUENCY (Hz)");
    ASSERT_NE(frequency, nullptr);
    EXPECT_EQ(frequency->area.top, PLOT.bottom + 20);
    EXPECT_EQ(frequency->area.left, PLOT.left);
    EXPECT_EQ(frequency->area.right, PLOT.right);
    // The rotated titles: centred on the plot's middle height, 25 pixels in
    // from the area's sides (a 13-pixel column about that line).
    const int middle = (PLOT.top + PLOT.bottom) / 2;
    const s_drawn_text* gain_title = find_text(texts, "GAIN (dB)");
    ASSERT_NE(gain_title, nullptr);
    EXPECT_EQ(gain_title->font.direction, font_direction::down);
    EXPECT_EQ(gain_title->area.left, 25 + 6);
    EXPECT_EQ(gain_title->area.top, middle - 9 * 7 / 2);
    const s_drawn_text* phase_title = find_text(texts, "PHASE (\xB0)");
    ASSERT_NE(phase_title, nullptr);
    EXPECT_EQ(phase_title->font.direction, font_direction::up);
    EXPECT_EQ(phase_title->area.left, AREA.right - 25 - 6);
    EXPECT_EQ(phase_title->area.top, middle + 9 * 7 / 2);
}

TEST(TestGraphDraw, FrameIsGrownFilledAndFramedFiveTimesAndTheBitmapMarginIsShorter)
{
    for (const bool for_bitmap : {false, true}) {
        SCOPED_TRACE(for_bitmap);
        graph_fixture fixture({inside_points(10)});
        fixture.frequency(100, 100000).gain(-40, 40);
        fixture.graph.background_mode = TEST_BACKGROUND_WHITE;
        const recording_surface surface = fixture.draw(for_bitmap);
        const int bottom = AREA.bottom - (for_bitmap ? 90 : 150);
        const std::vector<s_drawing_record>& r = surface.records();
        auto first_fill = std::find_if(r.begin(), r.end(), [](const s_drawing_record& x) { return x.op == drawing_op::fill_rect; });
        ASSERT_NE(first_fill, r.end());
        EXPECT_EQ(first_fill->area.left, PLOT.left - 4);
        EXPECT_EQ(first_fill->area.bottom, bottom + 4);
        EXPECT_EQ(first_fill->brush.kind, brush_kind::white);
        const brush_kind rings[] = {brush_kind::grey, brush_kind::light_grey, brush_kind::light_grey, brush_kind::grey,
                                    brush_kind::dark_grey};
        for (int i = 0; i < 5; ++i) {
            const s_drawing_record& frame = *(first_fill + 1 + i);
            ASSERT_EQ(frame.op, drawing_op::frame_rect);
            EXPECT_EQ(frame.brush.kind, rings[i]);
            EXPECT_EQ(frame.area.top, PLOT.top - 4 + i);
            EXPECT_EQ(frame.area.bottom, bottom + 4 - i);
        }
        // The legend band: one test, two cells of w / 18, 50 high, framed
        // twice in dark grey on the white background; 15 pixels higher in a
        // bitmap, and there held whole inside the area.
        const int legend_top = for_bitmap ? AREA.bottom - 50 : bottom + 60;
        auto legend = std::find_if(r.begin(), r.end(), [&](const s_drawing_record& x) {
            return x.op == drawing_op::fill_rect && x.area.top == legend_top;
        });
        ASSERT_NE(legend, r.end());
        EXPECT_EQ(legend->area.left, 60);
        EXPECT_EQ(legend->area.right, 60 + 2 * (W / 18));
        EXPECT_EQ(legend->area.bottom, legend_top + 50);
        EXPECT_EQ((legend + 1)->brush.kind, brush_kind::dark_grey);
        EXPECT_EQ((legend + 2)->area.left, 61);
        const std::vector<s_drawn_text> texts = drawn_texts(surface);
        const s_drawn_text* name = find_text(texts, "T.t 1");  // "Test 1" cut to five characters
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->colour, 0x000000u);
        ASSERT_NE(find_text(texts, "Gain "), nullptr);
        EXPECT_EQ(find_text(texts, "Gain ")->colour, 3937500u);  // Crimson, the first test's gain colour
    }
}

TEST(TestGraphDraw, CurvesJoinTheirPointsInTheTestsColoursAndWeights)
{
    graph_fixture fixture({inside_points(50), inside_points(20)});
    fixture.frequency(100, 100000).gain(-40, 40);
    fixture.graph.tests[1]->appearance.phase_visible = false;
    fixture.graph.tests[1]->appearance.gain_weight = 3;
    const recording_surface surface = fixture.draw();
    EXPECT_EQ(segments_in(surface, 3937500, 2).size(), 49u);    // test 1 gain: Crimson
    EXPECT_EQ(segments_in(surface, 11823615, 2).size(), 49u);   // test 1 phase: Hot Pink
    EXPECT_EQ(segments_in(surface, 13459258, 3).size(), 19u);   // test 2 gain, thick
    EXPECT_EQ(segments_in(surface, 16758883, 2).size(), 0u);    // test 2 phase hidden
    // The first gain point sits at the plot's left edge, at its gain.
    const std::vector<s_drawn_segment> gain = segments_in(surface, 3937500, 2);
    EXPECT_EQ(gain.front().x0, PLOT.left);
    EXPECT_EQ(gain.front().y0, PLOT.bottom - static_cast<int>(std::lround((-20 + 40) * H / 80.0)));
    EXPECT_EQ(gain.back().x1, PLOT.right);
}

TEST(TestGraphDraw, CurvesAreClippedAtEveryEdgeAndBrokenAtPointsThatCannotBePlaced)
{
    struct clip_case {
        const char* name;
        std::vector<s_test_graph_point> points;
        int band_mode;
        std::vector<s_drawn_segment> expected;  // pen left out
    };
    // Log axis 100 Hz to 10 kHz over 888 pixels (444 a decade), gain -40 to
    // 40 dB over 440 (5.5 a dB).
    const clip_case cases[] = {
        {"through the top and back in", {{100, 0, 0}, {1000, 80, 0}, {10000, 0, 0}}, 1,
         {{60, 230, 282, 10}, {726, 10, 948, 230}}},
        {"from below the bottom", {{100, -120, 0}, {10000, 40, 0}}, 1, {{504, 450, 948, 10}}},
        {"beyond the right edge", {{1000, 0, 0}, {100000, 0, 0}}, 1, {{504, 230, 948, 230}}},
        {"not a number breaks the curve", {{100, 0, 0}, {200, 0, 0}, {300, NaN, 0}, {400, 0, 0}, {1000, 0, 0}}, 1,
         {{60, 230, 194, 230}, {327, 230, 504, 230}}},
        {"0 Hz and below cannot be placed", {{0, 0, 0}, {100, 0, 0}, {-5, 0, 0}, {1000, 0, 0}, {10000, 0, 0}}, 1,
         {{504, 230, 948, 230}}},
        {"an infinite gain", {{100, 0, 0}, {1000, INF, 0}, {10000, 0, 0}}, 1, {}},
        {"within the margin band only", {{100, 0, 0}, {10000, 0, 0}}, 0, {{194, 230, 771, 230}}},
    };
    for (const clip_case& c : cases) {
        SCOPED_TRACE(c.name);
        graph_fixture fixture({c.points});
        fixture.frequency(100, 10000).gain(-40, 40);
        s_plot_appearance& look = fixture.graph.tests[0]->appearance;
        look.phase_visible = false;
        look.band_mode = c.band_mode;
        look.band_found = true;
        look.band_low = 200;
        look.band_high = 4000;
        const std::vector<s_drawn_segment> drawn = segments_in(fixture.draw(), 3937500, 2);
        ASSERT_EQ(drawn.size(), c.expected.size());
        for (std::size_t i = 0; i < drawn.size(); ++i) {
            EXPECT_EQ(drawn[i].x0, c.expected[i].x0) << i;
            EXPECT_EQ(drawn[i].y0, c.expected[i].y0) << i;
            EXPECT_EQ(drawn[i].x1, c.expected[i].x1) << i;
            EXPECT_EQ(drawn[i].y1, c.expected[i].y1) << i;
        }
    }
}

TEST(TestGraphDraw, DenseCurvesGoByPixelStepsAndStillJoinTheirEnds)
{
    // A ramp from -30 to 10 dB over three decades in 2000 points: 0.44
    // pixels across and 0.11 up a point.
    std::vector<s_test_graph_point> ramp;
    for (int i = 0; i < 2000; ++i) {
        ramp.push_back({100 * std::pow(10.0, 3.0 * i / 1999), -30 + 40.0 * i / 1999, 0});
    }
    graph_fixture fixture({ramp});
    fixture.frequency(100, 100000).gain(-40, 40);
    fixture.graph.tests[0]->appearance.phase_visible = false;
    const std::vector<s_drawn_segment> gain = segments_in(fixture.draw(), 3937500, 2);
    ASSERT_FALSE(gain.empty());
    EXPECT_LT(gain.size(), 1000u);
    EXPECT_EQ(gain.front().x0, PLOT.left);
    EXPECT_EQ(gain.back().x1, PLOT.right);
    EXPECT_EQ(gain.front().y0, PLOT.bottom - 55);  // -30 dB
    EXPECT_EQ(gain.back().y1, PLOT.bottom - 275);   // 10 dB
    for (std::size_t i = 1; i < gain.size(); ++i) {
        EXPECT_EQ(gain[i].x0, gain[i - 1].x1) << i;  // one unbroken line
        EXPECT_EQ(gain[i].y0, gain[i - 1].y1) << i;
        EXPECT_GT(std::max(std::abs(gain[i].x1 - gain[i].x0), std::abs(gain[i].y1 - gain[i].y0)), 0) << i;
    }
}

TEST(TestGraphDraw, RangesThatCannotBeDrawnGiveTheFrameTitlesAndLegendOnly)
{
    struct range_case {
        const char* name;
        double f_min, f_max;
        bool log;
        double g_min, g_max;
    };
    const range_case cases[] = {
        {"no points: the inverted automatic ranges", 1e9, 0, true, 1000, -500},
        {"a flat frequency range", 100, 100, true, -40, 40},
        {"a flat linear range", 100, 100, false, -40, 40},
        {"an infinite maximum", 100, INF, true, -40, 40},
        {"a gain range of not-a-number", 100, 1000, true, NaN, 40},
        {"an inverted gain range", 100, 1000, true, 40, -40},
        {"a log maximum of 0 and below", -5, 0, true, -40, 40},
    };
    for (const range_case& c : cases) {
        SCOPED_TRACE(c.name);
        graph_fixture fixture({LOOP});
        fixture.frequency(c.f_min, c.f_max, c.log).gain(c.g_min, c.g_max);
        const recording_surface surface = fixture.draw();
        EXPECT_TRUE(surface.segments().empty());
        EXPECT_EQ(surface.texts(), (std::vector<std::string>{"FREQUENCY (Hz)", "GAIN (dB)", "PHASE (\xB0)", "T.t 1", "Gain ", "Phase"}));
    }
}

TEST(TestGraphDraw, ExtremeRangesKeepEveryCoordinateNearTheGraph)
{
    struct extreme_case {
        double f_min, f_max;
        bool log;
        double g_min, g_max;
    };
    const extreme_case cases[] = {
        {0, 1e5, true, -40, 40},           // a log minimum of 0 is taken as 1e-6
        {1e-300, 1e300, true, -1e300, 1e300},
        {1e-3, 2e-3, true, -1e-9, 1e-9},
        {0, 1e300, false, -40, 40},
        {1, 1 + 1e-9, false, -40, 40},
    };
    std::vector<s_test_graph_point> wild = LOOP;
    wild.push_back({1e308, 1e308, -1e308});
    wild.push_back({1e-308, -1e308, 1e308});
    for (const extreme_case& c : cases) {
        SCOPED_TRACE(c.f_max);
        graph_fixture fixture({wild, inside_points(30)});
        fixture.frequency(c.f_min, c.f_max, c.log).gain(c.g_min, c.g_max);
        const recording_surface surface = fixture.draw();
        for (const s_drawing_record& r : surface.records()) {
            for (const int v : {r.x, r.y, r.area.left, r.area.top, r.area.right, r.area.bottom}) {
                EXPECT_LT(std::abs(v), 2000) << static_cast<int>(r.op);
            }
        }
        EXPECT_LE(surface.records().size(), 2000u);
    }
}

class TestGraphMargins : public ::testing::Test {
protected:
    TestGraphMargins() : fixture({LOOP})
    {
        fixture.frequency(100, 1000).gain(-40, 40);
        silent_prompt prompt;
        no_test_graph_hooks hooks;
        find_gain_phase_margins(fixture.graph, true, prompt, hooks);
        look().gain_margin_visible = true;
    }
    s_plot_appearance& look() { return fixture.graph.tests[0]->appearance; }

    graph_fixture fixture;
    const int x_150 = x_of_log(150, 100, 1000);
    const int x_350 = x_of_log(350, 100, 1000);
    const int y_0db = PLOT.bottom - H / 2;
    const int y_0deg = PLOT.bottom - H / 2;  // phase -180 to 180
};

TEST_F(TestGraphMargins, CrossingsAreMarkedAndLabelledInTheMarginColours)
{
    look().phase_margin_colour = 2;
    look().phase_margin_custom_colour = 0x00FF00;
    const recording_surface surface = fixture.draw();
    // The square: 8 wide about (x, y) of the 0 dB crossing, in white; the diamond 10 wide.
    const std::vector<s_drawn_segment> white = segments_in(surface, 0xFFFFFF, 2);
    const auto has = [](const std::vector<s_drawn_segment>& segments, int x0, int y0, int x1, int y1) {
        return std::any_of(segments.begin(), segments.end(), [&](const s_drawn_segment& s) {
            return s.x0 == x0 && s.y0 == y0 && s.x1 == x1 && s.y1 == y1;
        });
    };
    EXPECT_TRUE(has(white, x_150 - 4, y_0db - 4, x_150 + 4, y_0db - 4));
    const std::vector<s_drawn_segment> green = segments_in(surface, 0x00FF00, 2);
    EXPECT_TRUE(has(green, x_350, y_0deg - 5, x_350 + 5, y_0deg));
    const std::vector<s_drawn_text> texts = drawn_texts(surface);
    const s_drawn_text* gain_label = find_text(texts, "150.00 Hz  20.0\xB0");
    ASSERT_NE(gain_label, nullptr);
    EXPECT_EQ(gain_label->colour, 0xFFFFFFu);
    EXPECT_EQ(gain_label->area.left, x_150 + 7);
    EXPECT_GE(gain_label->area.top, PLOT.top);
    const s_drawn_text* phase_label = find_text(texts, "350.00 Hz  -25.0dB");
    ASSERT_NE(phase_label, nullptr);
    EXPECT_EQ(phase_label->colour, 0x00FF00u);

    look().gain_margin_visible = false;
    EXPECT_EQ(find_text(drawn_texts(fixture.draw()), "150.00 Hz  20.0\xB0"), nullptr);
}

TEST_F(TestGraphMargins, LabelsOfCrossingsAtOnePlaceAreMovedClearOfEachOther)
{
    fixture.graph.tests.push_back(std::make_unique<s_test_plot>());
    s_test_plot& twin = *fixture.graph.tests.back();
    twin.name = "Twin";
    twin.points = LOOP;
    twin.appearance = plot_appearance_opening(1);
    silent_prompt prompt;
    no_test_graph_hooks hooks;
    find_gain_phase_margins(fixture.graph, true, prompt, hooks);
    twin.appearance.gain_margin_visible = true;
    std::vector<s_rect> boxes;
    for (const s_drawn_text& t : drawn_texts(fixture.draw())) {
        if (t.text.find("Hz  ") != std::string::npos) {
            boxes.push_back(t.area);
        }
    }
    ASSERT_EQ(boxes.size(), 4u);
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        EXPECT_GE(boxes[i].top, PLOT.top);
        EXPECT_LE(boxes[i].bottom, PLOT.bottom);
        for (std::size_t j = 0; j < i; ++j) {
            const bool apart = boxes[i].left >= boxes[j].right || boxes[j].left >= boxes[i].right ||
                               boxes[i].top >= boxes[j].bottom || boxes[j].top >= boxes[i].bottom;
            EXPECT_TRUE(apart) << i << " " << j;
        }
    }
}

TEST_F(TestGraphMargins, HiddenMarksOnlyTheBestCrossingOfEachList)
{
    // A second gain crossing with a shorter run: 0 dB again between 300 and 400 Hz.
    fixture.graph.tests[0]->points = {{100, 10, 30}, {200, -10, 10}, {250, -20, 10}, {300, -1, 10}, {400, 3, -10}, {500, 2, -20}};
    silent_prompt prompt;
    no_test_graph_hooks hooks;
    look().band_found = false;
    find_gain_phase_margins(fixture.graph, true, prompt, hooks);
    const auto labels_ending = [](const recording_surface& surface, const std::string& end) {
        int count = 0;
        for (const std::string& text : surface.texts()) {
            count += text.size() > end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0 &&
                     text.find("Hz  ") != std::string::npos;
        }
        return count;
    };
    EXPECT_EQ(labels_ending(fixture.draw(), "\xB0"), 2);
    look().margins_hidden = true;
    const recording_surface hidden = fixture.draw();
    EXPECT_EQ(labels_ending(hidden, "\xB0"), 1);
    ASSERT_EQ(fixture.graph.tests[0]->zero_db.count, 2);
    EXPECT_NE(std::find(hidden.texts().begin(), hidden.texts().end(), "150.00 Hz  20.0\xB0"), hidden.texts().end());
}

TEST_F(TestGraphMargins, CursorsDrawDashedLinesWhileShownAndTheReadOutsAlways)
{
    for (const bool shown : {true, false}) {
        SCOPED_TRACE(shown);
        fixture.graph.show_gain_cursor = shown;
        fixture.graph.show_phase_cursor = true;
        const recording_surface surface = fixture.draw();
        std::vector<s_drawn_segment> dashed;
        for (const s_drawn_segment& s : surface.segments()) {
            if (s.pen.style == pen_style::dashed) {
                dashed.push_back(s);
            }
        }
        // The gain cursor runs from the gain axis to the crossing and up to
        // the phase curve (20 degrees); the phase cursor from the phase axis
        // to its crossing and down to the gain curve (-25 dB).
        const int y_phase_20 = PLOT.bottom - static_cast<int>(std::lround(200 * H / 360.0));
        const int y_gain_minus_25 = PLOT.bottom - static_cast<int>(std::lround(15 * H / 80.0));
        std::vector<s_drawn_segment> expected;
        if (shown) {
            expected.push_back({PLOT.left, y_0db, x_150, y_0db, {}});
            expected.push_back({x_150, y_0db, x_150, y_phase_20, {}});
        }
        expected.push_back({PLOT.right, y_0deg, x_350, y_0deg, {}});
        expected.push_back({x_350, y_0deg, x_350, y_gain_minus_25, {}});
        ASSERT_EQ(dashed.size(), expected.size());
        for (std::size_t i = 0; i < dashed.size(); ++i) {
            EXPECT_EQ(dashed[i].x0, expected[i].x0);
            EXPECT_EQ(dashed[i].y0, expected[i].y0);
            EXPECT_EQ(dashed[i].x1, expected[i].x1);
            EXPECT_EQ(dashed[i].y1, expected[i].y1);
        }
        int circles = 0;
        for (const s_drawing_record& r : surface.records()) {
            circles += r.op == drawing_op::ellipse && r.area.right - r.area.left == 7;
        }
        EXPECT_EQ(circles, shown ? 4 : 2);

        const std::vector<s_drawn_text> texts = drawn_texts(surface);
        const s_drawn_text* gain_box = find_text(texts, "  Frequency: 150.0000Hz \nGain: 0.0000dB \t Phase: 20.0000\xB0");
        ASSERT_NE(gain_box, nullptr);
        EXPECT_TRUE(gain_box->font.bold);
        EXPECT_EQ(gain_box->colour, 3937500u);  // the gain curve's colour
        EXPECT_EQ(gain_box->area.left, PLOT.left + 2);
        EXPECT_EQ(gain_box->area.top, PLOT.bottom + 115 + 2);
        const s_drawn_text* phase_box = find_text(texts, "  Frequency: 350.0000 \nGain: -25.0000 \t Phase: 0.0000");
        ASSERT_NE(phase_box, nullptr);
        EXPECT_EQ(phase_box->area.right, PLOT.right - 2);
        EXPECT_EQ(phase_box->colour, 11823615u);
    }
    // A bitmap's shorter margin leaves no room for the boxes.
    for (const std::string& text : fixture.draw(true).texts()) {
        EXPECT_EQ(text.find("Frequency: "), std::string::npos) << text;
    }
}

TEST_F(TestGraphMargins, LegendShowsTheMarkersOfShownMarginsAndTheCombinedResponseIsDrawn)
{
    const int cell = W / 18;
    const int legend_top = PLOT.bottom + 60;
    const auto legend_marks = [&](const recording_surface& surface) {
        int count = 0;
        for (const s_drawn_segment& s : segments_in(surface, 0xFFFFFF, 2)) {
            count += s.y0 >= legend_top && s.y0 <= legend_top + 50 && s.x0 >= 60 + cell;
        }
        return count;
    };
    EXPECT_EQ(legend_marks(fixture.draw()), 8);  // square and diamond, four sides each
    look().phase_margin_visible = false;
    EXPECT_EQ(legend_marks(fixture.draw()), 4);

    fixture.graph.combined.present = true;
    fixture.graph.combined.points = {{100, 0, 0}, {1000, 0, 0}};
    const std::vector<s_drawn_segment> combined = segments_in(fixture.draw(), 0xFFFFFF, 2);
    EXPECT_TRUE(std::any_of(combined.begin(), combined.end(), [&](const s_drawn_segment& s) {
        return s.x0 == PLOT.left && s.x1 == PLOT.right && s.y0 == y_0db;
    }));
}

TEST(FitFont, TakesTheLargestHeightWhoseTextIsNarrowerThanTheBox)
{
    struct fit_case {
        std::string text;
        s_rect box;
        int extra;
        int height;
    };
    // Model characters are round(7 h / 13) wide.
    const fit_case cases[] = {
        {"12.345", {0, 0, 100, 50}, 0, 30},   // 6 x 16 = 96 < 100
        {"12.345", {0, 0, 100, 20}, 0, 20},   // fits at the box's height
        {"12.345", {0, 0, 100, 20}, 15, 30},  // the extra height is tried first
        {"12.345", {0, 0, 3, 20}, 0, 1},      // nothing fits: the smallest
        {"", {0, 0, 0, 10}, 0, 1},
        {"x", {0, 0, 10000, 1000000}, 0, 2000},
    };
    for (const fit_case& c : cases) {
        recording_surface surface;
        const s_font font = fit_font(surface, c.text, c.box, c.extra, true);
        EXPECT_EQ(font.height, c.height) << c.text << " " << c.box.width();
        EXPECT_TRUE(font.bold);
        EXPECT_EQ(font.face, "Microsoft Sans Serif");
        EXPECT_EQ(surface.records().back().font.height, c.height);  // left selected
    }
    recording_surface surface;
    EXPECT_EQ(fit_font(surface, "1", {0, 0, 100, 10}, 0, false, "Courier New").face, "Courier New");
}

}  // namespace
