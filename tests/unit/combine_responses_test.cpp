// The multiple feedback loop response: open and closed loops of two and three
// measured responses, paired by index, and the "Select Tests" choice rules.
#include "fra/combine_responses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

struct recording_hooks final : test_graph_hooks {
    void rebuild_menus() override { calls.push_back("menus"); }
    void lay_out_margin_labels() override { calls.push_back("labels"); }
    void recompute_gain_range() override { calls.push_back("gain range"); }
    void redraw() override { calls.push_back("redraw"); }
    std::vector<std::string> calls;
};

// A response of constant gain (dB) and phase (degrees) at 100, 200 ... Hz.
std::vector<s_test_graph_point> flat(double gain, double phase, int count = 3)
{
    std::vector<s_test_graph_point> points;
    for (int i = 0; i < count; ++i) {
        points.push_back({100.0 * (i + 1), gain, phase});
    }
    return points;
}

const double half = 20 * std::log10(0.5);  // |H| = 1/2
const double pi = std::acos(-1.0);

struct combine_case {
    const char* what;
    bool open_loop;
    std::vector<s_test_graph_point> r1, r2, r3;  // r3 empty: two responses
    double magnitude;                            // |T|
    double phase;                                // degrees
};

TEST(CombineResponses, OpenLoopsSumAndClosedLoopsFollowTheirFormulas)
{
    const combine_case cases[] = {
        {"open, two in phase", true, flat(0, 0), flat(0, 0), {}, 2, 0},
        {"open, two in quadrature", true, flat(0, 0), flat(0, 90), {}, std::sqrt(2.0), 45},
        {"open, three", true, flat(0, 0), flat(0, 90), flat(0, 180), 1, 90},
        {"open, opposite phases near 180", true, flat(0, 170), flat(0, -170), {}, 2 * std::cos(10 * pi / 180), 180},
        // H1 = 1/2, H2 = -1/2: (0 + 1/2) / (1 + 1/4) = 0.4
        {"closed, two", false, flat(half, 0), flat(half, 180), {}, 0.4, 0},
        // H = 1/2 each: (3/2 - 3/2 + 3/8) / (1 - 3/4 + 1/4) = 0.75
        {"closed, three", false, flat(half, 0), flat(half, 0), flat(half, 0), 0.75, 0},
        // H = j/2 each: N = j - 2 (-1/4) = 1/2 + j over D = 1 + 1/4
        {"closed, two in quadrature", false, flat(half, 90), flat(half, 90), {}, std::sqrt(1.25) / 1.25,
         std::atan2(1.0, 0.5) * 180 / pi},
    };
    for (const combine_case& c : cases) {
        SCOPED_TRACE(c.what);
        s_combined_response result;
        combine_responses(c.open_loop, c.r1, c.r2, c.r3.empty() ? nullptr : &c.r3, result);
        EXPECT_TRUE(result.present);
        ASSERT_EQ(result.points.size(), 3u);
        for (std::size_t i = 0; i < result.points.size(); ++i) {
            EXPECT_EQ(result.points[i].frequency, c.r1[i].frequency);
            EXPECT_NEAR(result.points[i].gain, 20 * std::log10(c.magnitude), 1e-9);
            EXPECT_NEAR(std::abs(result.points[i].phase), std::abs(c.phase), 1e-9);
            EXPECT_LE(result.points[i].phase, 180.0);
            EXPECT_GE(result.points[i].phase, -180.0);
        }
    }
}

// N = 3 - 6 + 3 and D = 1 - 3 + 2 are both exactly 0.
TEST(CombineResponses, ThreeUnityResponsesClosedGiveANonFiniteResult)
{
    s_combined_response result;
    const std::vector<s_test_graph_point> unity = flat(0, 0);
    combine_responses(false, unity, unity, &unity, result);
    ASSERT_EQ(result.points.size(), 3u);
    for (const s_test_graph_point& point : result.points) {
        EXPECT_TRUE(std::isnan(point.gain));
        EXPECT_TRUE(std::isnan(point.phase));
    }
    // Two unity responses closed: D = 1 - 1 = 0 too.
    combine_responses(false, unity, unity, nullptr, result);
    EXPECT_TRUE(std::isnan(result.points[0].gain));
}

TEST(CombineResponses, PairsPointsByIndexUpToTheShortestResponse)
{
    std::vector<s_test_graph_point> other = flat(0, 0, 2);
    other[0].frequency = 5;  // frequencies of later responses are not looked at
    other[1].frequency = 7;
    s_combined_response result;
    result.points = flat(1, 1, 9);
    combine_responses(true, flat(0, 0, 4), other, nullptr, result);
    ASSERT_EQ(result.points.size(), 2u);
    EXPECT_EQ(result.points[0].frequency, 100);
    EXPECT_EQ(result.points[1].frequency, 200);
    const std::vector<s_test_graph_point> none;
    combine_responses(true, flat(0, 0), other, &none, result);
    EXPECT_TRUE(result.present);
    EXPECT_TRUE(result.points.empty());
}

struct choice_case {
    const char* what;
    s_loop_choice choice;
    bool accepted;
    bool present;
    double gain;  // of the first point, when present
};

TEST(CombineResponses, ChoicesCombineTwoOrThreeOrRemoveTheResult)
{
    const double three = 20 * std::log10(3.0);
    const double two = 20 * std::log10(2.0);
    const choice_case cases[] = {
        {"two", {0, 1, -1, true}, true, true, two},
        {"three", {0, 1, 2, true}, true, true, three},
        {"third equal to the first", {0, 1, 0, true}, true, false, 0},
        {"third equal to the second", {0, 1, 1, true}, true, false, 0},
        {"first two equal", {1, 1, -1, true}, true, false, 0},
        {"second missing", {0, -1, -1, true}, true, false, 0},
        {"not plotted", {0, 5, -1, true}, true, false, 0},
        {"third not plotted", {0, 1, 5, true}, true, false, 0},
        {"cancelled", {0, 1, -1, true}, false, false, 0},
    };
    for (const choice_case& c : cases) {
        SCOPED_TRACE(c.what);
        s_test_graph_state graph;
        for (int i = 0; i < 3; ++i) {
            auto plot = std::make_unique<s_test_plot>();
            plot->points = flat(0, 0);
            graph.tests.push_back(std::move(plot));
        }
        graph.combined.present = true;  // an earlier result
        graph.combined.points = flat(9, 9);
        recording_hooks hooks;
        apply_loop_choice(graph, c.choice, c.accepted, hooks);
        EXPECT_EQ(graph.combined.present, c.present);
        if (c.present) {
            ASSERT_FALSE(graph.combined.points.empty());
            EXPECT_NEAR(graph.combined.points[0].gain, c.gain, 1e-12);
        } else {
            EXPECT_TRUE(graph.combined.points.empty());
        }
        EXPECT_EQ(hooks.calls, (std::vector<std::string>{"gain range", "redraw"}));
    }

    s_test_graph_state manual;
    manual.gain_range_mode = TEST_RANGE_MANUAL;
    recording_hooks hooks;
    apply_loop_choice(manual, {}, true, hooks);
    EXPECT_EQ(hooks.calls, (std::vector<std::string>{"redraw"}));
}

}  // namespace
