// The crossing search and the FRA view's margin messages and cursor slope.
#include "fra/crossing_search.h"
#include "fra/cursor_slope.h"
#include "fra/fra_view_margins.h"
#include "graph/fixed_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "support/recording_prompt.h"

namespace {

constexpr double nan_value = std::numeric_limits<double>::quiet_NaN();

struct point {
    double frequency;
    double gain;
    double phase;
};

std::unique_ptr<s_fra_sweep> sweep_of(const std::vector<point>& points)
{
    std::unique_ptr<s_fra_sweep> sweep = make_fra_sweep();
    sweep->points = static_cast<int>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        sweep->point[i].frequency = points[i].frequency;
        sweep->point[i].gain = points[i].gain;
        sweep->point[i].phase = points[i].phase;
    }
    return sweep;
}

struct crossing_case {
    const char* what;
    std::vector<double> frequencies;
    std::vector<double> values;  // the searched quantity
    std::vector<double> others;  // the interpolated one
    std::vector<s_crossing> expected;
};

TEST(CrossingSearch, FindsEachSignChangeOnceInterpolatingLinearlyInFrequency)
{
    const crossing_case cases[] = {
        {"a zero between opposite signs counts once", {100, 200, 300}, {1, 0, -1}, {0, -10, -20}, {{1, 200, -10}}},
        {"linear, not logarithmic, in frequency", {100, 300}, {-1, 1}, {-40, -60}, {{0, 200, -50}}},
        {"falling through zero", {100, 200}, {2, -2}, {-90, -130}, {{0, 150, -110}}},
        {"a zero touched from above", {100, 200, 300}, {1, 0, 1}, {0, 4, 8}, {{1, 200, 4}}},
        {"a zero touched from below", {100, 200, 300}, {-1, 0, -1}, {0, 4, 8}, {{1, 200, 4}}},
        {"two consecutive zeros hold none", {100, 200}, {0, 0}, {1, 2}, {}},
        {"leaving two zeros upward", {100, 200, 300}, {0, 0, 1}, {1, 2, 3}, {{1, 200, 2}}},
        {"a first point on zero", {100, 200}, {0, -1}, {5, 7}, {{0, 100, 5}}},
        {"no sign change", {100, 200, 300}, {3, 2, 1}, {0, 0, 0}, {}},
        {"not-a-number is no sign", {100, 200, 300}, {1, nan_value, -1}, {0, 0, 0}, {}},
        {"one point holds no segment", {100}, {-1}, {0}, {}},
        {"descending frequencies", {300, 100}, {-1, 1}, {-60, -40}, {{0, 200, -50}}},
        {"several, in segment order", {1, 2, 3, 4}, {1, -1, 1, -1}, {0, 0, 0, 0}, {{0, 1.5, 0}, {1, 2.5, 0}, {2, 3.5, 0}}},
    };
    for (const crossing_case& c : cases) {
        SCOPED_TRACE(c.what);
        for (const crossing_kind kind : {crossing_kind::zero_db, crossing_kind::zero_phase}) {
            std::vector<point> points;
            for (std::size_t i = 0; i < c.frequencies.size(); ++i) {
                const bool on_gain = kind == crossing_kind::zero_db;
                points.push_back({c.frequencies[i], on_gain ? c.values[i] : c.others[i],
                                  on_gain ? c.others[i] : c.values[i]});
            }
            const std::vector<s_crossing> found = find_crossings(points.data(), static_cast<int>(points.size()), kind);
            ASSERT_EQ(found.size(), c.expected.size());
            for (std::size_t k = 0; k < found.size(); ++k) {
                EXPECT_EQ(found[k].segment, c.expected[k].segment);
                EXPECT_DOUBLE_EQ(found[k].frequency, c.expected[k].frequency);
                EXPECT_DOUBLE_EQ(found[k].other, c.expected[k].other);
            }
        }
    }
}

TEST(FixedText, WritesEveryDigitAndTheSameNonFiniteTextsInBothBuilds)
{
    EXPECT_EQ(fixed_text(123.456, 2), "123.46");
    EXPECT_EQ(fixed_text(-0.004, 2), "-0.00");
    EXPECT_EQ(fixed_text(2.5, 0), "2");
    EXPECT_EQ(fixed_text(std::numeric_limits<double>::infinity(), 2), "inf");
    EXPECT_EQ(fixed_text(-std::numeric_limits<double>::infinity(), 2), "-inf");
    EXPECT_EQ(fixed_text(-nan_value, 2), "nan");
    // 1e300 is 301 digits long before the mark: nothing may be cut.
    const std::string huge = fixed_text(1e300, 2);
    EXPECT_EQ(huge.size(), 304u);
    EXPECT_EQ(huge.substr(0, 20), "10000000000000000525");
    EXPECT_EQ(huge.substr(301), ".00");
    EXPECT_EQ(fixed_text(-1.7976931348623157e308, 2).size(), 313u);
}

struct message_case {
    const char* what;
    std::vector<point> points;
    const char* zero_db;
    const char* zero_phase;
};

TEST(FraViewMargins, MessagesReadExactlyAsTheViewShowsThem)
{
    const message_case cases[] = {
        {"nothing crosses", {{100, 3, -10}, {200, 2, -20}}, "No gain 0dB point found", "No 0 Phase point found"},
        {"fewer than two points", {{100, 0, 0}}, "No gain 0dB point found", "No 0 Phase point found"},
        {"one of each",
         {{100, 2, 10}, {200, -2, -30}},
         "0dB point = freq: 150.00 phase: -10.00",
         "0Phase point = freq: 125.00 gain: 1.00"},
        {"two of each",
         {{1000, 1, 5}, {2000, -1, -5}, {3000, 1, 5}},
         "There were 2 0dB points found\n\n"
         "0dB point 1 =  freq: 1500.00  phase: 0.00 \n"
         "0dB point 2 =  freq: 2500.00  phase: 0.00 \n",
         "There were 2 0Phase points found\n\n"
         "0Phase point 1 =  freq: 1500.00  gain: 0.00 \n"
         "0Phase point 2 =  freq: 2500.00  gain: 0.00 \n"},
        // The slope is 2/0 and the other quantity 0/0: reported as it is.
        {"equal frequencies", {{100, 1, -90}, {100, -1, -100}}, "0dB point = freq: 100.00 phase: nan",
         "No 0 Phase point found"},
        {"a huge frequency is written whole",
         {{std::ldexp(1.0, 66), 1, 0}, {std::ldexp(3.0, 66), -1, 0}},
         "0dB point = freq: 147573952589676412928.00 phase: 0.00",
         "No 0 Phase point found"},
    };
    for (const message_case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::unique_ptr<s_fra_sweep> sweep = sweep_of(c.points);
        EXPECT_EQ(zero_db_points_text(*sweep), c.zero_db);
        EXPECT_EQ(zero_phase_points_text(*sweep), c.zero_phase);

        recording_prompt prompt;
        find_gain_phase_margin(*sweep, prompt);
        ASSERT_EQ(prompt.messages.size(), 2u);
        EXPECT_EQ(prompt.messages[0].text, c.zero_db);
        EXPECT_EQ(prompt.messages[1].text, c.zero_phase);
        for (const recording_prompt::shown& shown : prompt.messages) {
            EXPECT_EQ(shown.caption, "Corvexa2");
            EXPECT_EQ(shown.icon, prompt_icon::information);
        }
    }
}

TEST(FraViewMargins, ListsTheFirstTenCrossingsAndDotsOnlyBeyondTen)
{
    for (const int crossings : {10, 11}) {
        SCOPED_TRACE(crossings);
        std::vector<point> points;
        for (int i = 0; i <= crossings; ++i) {
            points.push_back({100.0 * (i + 1), i % 2 == 0 ? 1.0 : -1.0, -45});
        }
        const std::string text = zero_db_points_text(*sweep_of(points));
        const std::string head = "There were " + std::to_string(crossings) + " 0dB points found\n\n";
        ASSERT_EQ(text.compare(0, head.size(), head), 0) << text;
        const std::string tenth = "0dB point 10 =  freq: 1050.00  phase: -45.00 \n";
        const std::string tail = crossings > 10 ? tenth + "..." : tenth;
        ASSERT_GE(text.size(), tail.size());
        EXPECT_EQ(text.substr(text.size() - tail.size()), tail);
        EXPECT_EQ(text.find("0dB point 11"), std::string::npos);
        std::size_t lines = 0;
        for (const char c : text) {
            lines += c == '\n' ? 1 : 0;
        }
        EXPECT_EQ(lines, 12u);  // two after the head line, then ten
    }
}

TEST(FraViewMargins, KeepsCrossingsAsSweepPointsWithTheInterpolatedField)
{
    const std::unique_ptr<s_fra_sweep> sweep = sweep_of({{100, 2, 10}, {200, -2, -30}});
    LList<s_fra_result> gain;
    fra_sweep_crossings(*sweep, crossing_kind::zero_db, gain);
    ASSERT_EQ(gain.count, 1);
    EXPECT_DOUBLE_EQ(gain.head->element->frequency, 150);
    EXPECT_DOUBLE_EQ(gain.head->element->phase, -10);
    EXPECT_EQ(gain.head->element->gain, 0);
    LList<s_fra_result> phase;
    fra_sweep_crossings(*sweep, crossing_kind::zero_phase, phase);
    ASSERT_EQ(phase.count, 1);
    EXPECT_DOUBLE_EQ(phase.head->element->frequency, 125);
    EXPECT_DOUBLE_EQ(phase.head->element->gain, 1);
    EXPECT_EQ(phase.head->element->phase, 0);

    // A damaged point count reads no further than the block.
    sweep->points = SWEEP_MAX_POINTS + 5;
    EXPECT_EQ(zero_db_points_text(*sweep), "0dB point = freq: 150.00 phase: -10.00");
    sweep->points = -3;
    EXPECT_EQ(zero_db_points_text(*sweep), "No gain 0dB point found");
}

// The simulator's loop, L(s) = 4 p^3 / (s + p)^3 with p = 2 pi 100 Hz,
// measured on a log grid in the -180 to 180 degree convention: |L| = 1 where
// (1 + x^2)^(3/2) = 4 (x = f / 100 Hz), with the phase -3 atan x there; the
// phase reaches -180 degrees at x = sqrt 3, where the gain is 20 log10(1/2).
// On the view's convention that is where the phase wraps to +180, which the
// search reports as its 0 Phase point.
TEST(FraViewMargins, FindsTheMarginsOfAMeasuredLoop)
{
    const double degrees = 180 / std::acos(-1.0);
    const int count = 1201;
    std::vector<point> points;
    for (int i = 0; i < count; ++i) {
        const double f = 10 * std::pow(10.0, 3.0 * i / (count - 1));  // 10 Hz to 10 kHz
        const std::complex<double> x(1, f / 100);
        const std::complex<double> loop = 4.0 / (x * x * x);
        points.push_back({f, 20 * std::log10(std::abs(loop)), std::arg(loop) * degrees});
    }
    const std::unique_ptr<s_fra_sweep> sweep = sweep_of(points);

    LList<s_fra_result> gain;
    fra_sweep_crossings(*sweep, crossing_kind::zero_db, gain);
    ASSERT_EQ(gain.count, 1);
    const double x_unity = std::sqrt(std::pow(4.0, 2.0 / 3) - 1);
    EXPECT_NEAR(gain.head->element->frequency, 100 * x_unity, 0.05);
    EXPECT_NEAR(gain.head->element->phase, -3 * std::atan(x_unity) * degrees, 0.05);

    LList<s_fra_result> phase;
    fra_sweep_crossings(*sweep, crossing_kind::zero_phase, phase);
    ASSERT_EQ(phase.count, 1);
    const double f_180 = 100 * std::sqrt(3.0);
    const double step = std::pow(10.0, 3.0 / (count - 1));  // one segment's frequency ratio
    EXPECT_GT(phase.head->element->frequency, f_180 / step);
    EXPECT_LT(phase.head->element->frequency, f_180 * step);
    EXPECT_NEAR(phase.head->element->gain, 20 * std::log10(0.5), 0.1);

    EXPECT_EQ(zero_db_points_text(*sweep).substr(0, 23), "0dB point = freq: 123.2");
}

// The same loop through an inverting stage, -L: its phase falls from +180
// through 0 at x = sqrt 3. Stored in the 0 to -360 convention it starts below
// -180 and wraps from near -360 to near 0 there, and in the 0 to +360
// convention from near 0 to near +360: neither wrap is a sign change, so only
// the -180 to 180 convention shows the crossing. The search reads the values
// as they are.
TEST(FraViewMargins, ReadsPhasesAsStoredWhateverTheirConvention)
{
    const double degrees = 180 / std::acos(-1.0);
    struct convention_case {
        const char* what;
        double low;  // the convention's range is low to low + 360
        int crossings;
    };
    const convention_case cases[] = {
        {"-180 to 180", -180, 1},
        {"0 to -360, starting below -180", -360, 0},
        {"0 to +360", 0, 0},
    };
    for (const convention_case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<point> points;
        for (int i = 0; i < 61; ++i) {
            const double f = 10 * std::pow(10.0, 3.0 * i / 60);
            const std::complex<double> x(1, f / 100);
            const std::complex<double> loop = -4.0 / (x * x * x);
            double phase = std::arg(loop) * degrees;
            while (phase < c.low) {
                phase += 360;
            }
            while (phase > c.low + 360) {
                phase -= 360;
            }
            points.push_back({f, 20 * std::log10(std::abs(loop)), phase});
        }
        if (c.low == -360) {
            EXPECT_LT(points.front().phase, -180);
        }
        const std::unique_ptr<s_fra_sweep> sweep = sweep_of(points);
        LList<s_fra_result> phase;
        fra_sweep_crossings(*sweep, crossing_kind::zero_phase, phase);
        ASSERT_EQ(phase.count, c.crossings);
        if (c.crossings == 1) {
            EXPECT_NEAR(phase.head->element->frequency, 100 * std::sqrt(3.0), 1.0);
            EXPECT_NEAR(phase.head->element->gain, 20 * std::log10(0.5), 0.15);
        }
    }
}

TEST(CursorSlope, ReadsDecibelsPerDecadeAroundTheCursor)
{
    const std::unique_ptr<s_fra_sweep> sweep =
        sweep_of({{10, 0, 0}, {100, -20, 0}, {1000, -60, 0}, {1000, -70, 0}, {1000, -80, 0}, {-10, 5, 0}});
    struct slope_case {
        int index;
        double slope;
    };
    const slope_case cases[] = {
        {0, 0},    // the first point
        {1, -30},  // 10 Hz to 1 kHz: -60 dB over two decades
        {2, -50},  // 100 Hz to 1 kHz
        {3, 0},    // 1 kHz on both sides: equal frequencies
        {4, 0},    // 1 kHz to -10 Hz: a negative ratio
        {5, 0},    // the last point: 1 kHz and -10 Hz
        {6, 0},    // outside the sweep
        {-1, 0},
    };
    for (const slope_case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_DOUBLE_EQ(cursor_slope(*sweep, c.index), c.slope);
    }
    // The last point of a sweep uses the point before it and itself.
    const std::unique_ptr<s_fra_sweep> falling = sweep_of({{10, 0, 0}, {100, -3, 0}, {1000, -23, 0}});
    EXPECT_DOUBLE_EQ(cursor_slope(*falling, 2), -20);
}

}  // namespace
