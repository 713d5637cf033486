#include "impedance/piezo_analysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "impedance/piezo_graph_range.h"
#include "impedance/piezo_result_fields.h"
#include "impedance/piezo_texts.h"

namespace {

using complex = std::complex<double>;

constexpr double pi = 3.14159265358979323846;
constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double not_a_number = std::numeric_limits<double>::quiet_NaN();

// A Butterworth-Van Dyke resonator: C0 parallel to R1 + L1 + C1.
struct resonator {
    double r1;
    double l1;
    double c1;
    double c0;

    complex impedance(double f) const
    {
        const complex s(0.0, 2.0 * pi * f);
        const complex motional = r1 + s * l1 + 1.0 / (s * c1);
        return 1.0 / (s * c0 + 1.0 / motional);
    }
    double series_frequency() const { return 1.0 / (2.0 * pi * std::sqrt(l1 * c1)); }
    double parallel_frequency() const { return series_frequency() * std::sqrt(1.0 + c1 / c0); }
    double q() const { return 2.0 * pi * series_frequency() * l1 / r1; }
};

// fs = 100 kHz for both. Sharp: Q about 200, fa / fs = 1.118. Broad: Q 50,
// fa / fs = 1.225.
constexpr resonator sharp{32.0, 10.13e-3, 0.25e-9, 1e-9};
constexpr resonator broad{63.66, 5.066e-3, 0.5e-9, 1e-9};

double degrees(complex z)
{
    return std::arg(z) * 180.0 / pi;
}

// One point as the instrument reports it in each layout: |Z| is value 3 of
// every impedance layout, |Y| that of the admittance layout.
s_lcr_result point_in_layout(double f, complex z, int layout)
{
    const double w = 2.0 * pi * f;
    const complex y = 1.0 / z;
    s_lcr_result p{};
    double* x = p.value;
    x[0] = f;
    switch (layout) {
    case LCR_LAYOUT_IMPEDANCE:
        x[1] = z.real(), x[2] = z.imag(), x[3] = std::abs(z), x[4] = degrees(z);
        break;
    case LCR_LAYOUT_ADMITTANCE:
        x[1] = y.real(), x[2] = y.imag(), x[3] = std::abs(y), x[4] = degrees(y);
        break;
    default:  // 3 and 6: series equivalents (6 adds the parallel ones)
        x[1] = std::abs(z.imag()) / z.real(), x[2] = z.real() / std::abs(z.imag());
        x[3] = std::abs(z), x[4] = degrees(z);
        x[5] = z.imag() / w, x[6] = -1.0 / (w * z.imag()), x[7] = z.real();
        if (layout == LCR_LAYOUT_FULL) {
            x[8] = std::abs(y), x[9] = degrees(y);
            x[10] = -1.0 / (w * y.imag()), x[11] = y.imag() / w, x[12] = 1.0 / y.real();
        }
        break;
    }
    return p;
}

// n log-spaced frequencies from low to high.
std::vector<double> log_grid(int n, double low, double high)
{
    std::vector<double> f(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        f[static_cast<std::size_t>(i)] = low * std::pow(high / low, static_cast<double>(i) / (n - 1));
    }
    return f;
}

std::unique_ptr<s_lcr_sweep> sweep_of(const resonator& dut, const std::vector<double>& f, int layout,
                                      bool descending)
{
    auto block = make_lcr_sweep();
    const int n = static_cast<int>(f.size());
    block->points = n;
    for (int i = 0; i < n; ++i) {
        const double fi = f[static_cast<std::size_t>(descending ? n - 1 - i : i)];
        block->point[i] = point_in_layout(fi, dut.impedance(fi), layout);
    }
    return block;
}

// A block of (frequency, |Z|) pairs in layout 7, stored as given.
std::unique_ptr<s_lcr_sweep> magnitudes(const std::vector<std::pair<double, double>>& points)
{
    auto block = make_lcr_sweep();
    block->points = static_cast<int>(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        block->point[i].value[0] = points[i].first;
        block->point[i].value[3] = points[i].second;
    }
    return block;
}

piezo_result analysed(const s_lcr_sweep& block, int layout = LCR_LAYOUT_IMPEDANCE)
{
    const s_piezo_outcome outcome = piezo_analyse(block, layout);
    EXPECT_TRUE(outcome.accepted) << outcome.refusal;
    return outcome.result;
}

void expect_identical(const piezo_result& a, const piezo_result& b)
{
    for (const s_piezo_result_field& field : piezo_result_fields) {
        EXPECT_EQ(a.*field.member, b.*field.member) << field.name;
    }
}

void expect_near_ratio(double got, double want, double tolerance, const char* what)
{
    EXPECT_LE(std::abs(got / want - 1.0), tolerance) << what << ": " << got << " against " << want;
}

struct grid_case {
    const char* name;
    resonator dut;
    int points;
    double low;   // x fs
    double high;  // x fs
};

// Dense grids (the block's 2000 points over 9:1) and sparse ones.
const grid_case grid_cases[] = {
    {"sharp, dense", sharp, SWEEP_MAX_POINTS, 1.0 / 3.0, 3.0},
    {"sharp, sparse", sharp, 400, 0.5, 2.0},
    {"broad, dense", broad, SWEEP_MAX_POINTS, 1.0 / 3.0, 3.0},
    {"broad, sparse", broad, 100, 0.5, 2.0},
};

// What a grid allows. With the ratio q between neighbouring frequencies, the
// sample nearest each extreme lies within h = sqrt(q) - 1 of it, and so do
// the extremes found. Half a step off the series resonance |Z| has risen by
// A = sqrt(1 + (2 Q h)^2); the anti-resonance peak is sqrt(1 + k) times
// narrower (k = C1 / C0), so it may fall by Aa = sqrt(1 + (2 Q sqrt(1 + k) h)^2).
// Cp = 1 / (sqrt(R |Z|max) wa) then lies within A^(1/2) and Aa^(1/2) and a
// factor 1 +- h of C0; (wa / wr)^2 - 1 = k within g = (1 + k) / k
// (((1 + h) / (1 - h))^2 - 1); C carries both, and L = 1 / (wr^2 C) carries C
// and two more factors of 1 + h. On top of this the circuit's exact extremes
// lie a little off fs and fa and |Z|min a little below R1 (terms in 1 / Q^2
// and C0 / (C1 Q)): `exactness` covers them.
struct grid_tolerance {
    double frequency;
    double r;
    double c_p;
    double c;
    double l;
};

grid_tolerance tolerance_of(const grid_case& g)
{
    constexpr double exactness = 0.005;
    const double k = g.dut.c1 / g.dut.c0;
    const double q = std::pow(g.high / g.low, 1.0 / (g.points - 1));
    const double h = std::sqrt(q) - 1.0;
    const double a = std::hypot(1.0, 2.0 * g.dut.q() * h);
    const double aa = std::hypot(1.0, 2.0 * g.dut.q() * std::sqrt(1.0 + k) * h);
    const double c_p = std::max(1.0 - 1.0 / (std::sqrt(a) * (1.0 + h)), std::sqrt(aa) / (1.0 - h) - 1.0);
    const double ratio = (1.0 + k) / k * (std::pow((1.0 + h) / (1.0 - h), 2) - 1.0);
    const double c = (1.0 + ratio) * (1.0 + c_p) - 1.0;
    const double l = std::pow(1.0 + h, 2) / (1.0 - c) - 1.0;
    return {h + exactness, a - 1.0 + exactness, c_p + exactness, c + exactness, l + exactness};
}

}  // namespace

TEST(PiezoAnalysis, ResonatorCircuitWithinWhatTheGridAllows)
{
    for (const grid_case& g : grid_cases) {
        SCOPED_TRACE(g.name);
        const grid_tolerance tol = tolerance_of(g);
        ASSERT_LT(tol.c, 1.0);  // the case is one the grid can resolve
        const double fs = g.dut.series_frequency();
        const auto ascending = sweep_of(g.dut, log_grid(g.points, g.low * fs, g.high * fs), LCR_LAYOUT_IMPEDANCE, false);
        const piezo_result p = analysed(*ascending);
        expect_near_ratio(p.w_r, 2.0 * pi * fs, tol.frequency, "w_r");
        expect_near_ratio(p.w_a, 2.0 * pi * g.dut.parallel_frequency(), tol.frequency, "w_a");
        expect_near_ratio(p.r, g.dut.r1, tol.r, "R");
        expect_near_ratio(p.c_p, g.dut.c0, tol.c_p, "Cp");
        expect_near_ratio(p.c, g.dut.c1, tol.c, "C");
        expect_near_ratio(p.l, g.dut.l1, tol.l, "L");
    }
}

TEST(PiezoAnalysis, SameResultsWhateverTheOrderAndImpedanceLayout)
{
    for (const grid_case& g : grid_cases) {
        SCOPED_TRACE(g.name);
        const double fs = g.dut.series_frequency();
        const std::vector<double> f = log_grid(g.points, g.low * fs, g.high * fs);
        const piezo_result reference = analysed(*sweep_of(g.dut, f, LCR_LAYOUT_IMPEDANCE, false));
        ASSERT_GT(reference.c, 0.0);
        ASSERT_GT(reference.l, 0.0);
        for (const int layout : {LCR_LAYOUT_BASIC, LCR_LAYOUT_FULL, LCR_LAYOUT_IMPEDANCE}) {
            for (const bool descending : {false, true}) {
                SCOPED_TRACE(testing::Message() << "layout " << layout << (descending ? ", descending" : ""));
                expect_identical(analysed(*sweep_of(g.dut, f, layout, descending), layout), reference);
            }
        }
    }
}

// |Z| x 4 is the circuit with R and L x 4 and the capacitances / 4; f x 2 the
// circuit with L and both capacitances / 2. Powers of two keep it exact.
TEST(PiezoAnalysis, ScalingImpedanceOrFrequencyScalesTheCircuit)
{
    const double fs = sharp.series_frequency();
    const std::vector<double> f = log_grid(400, 0.5 * fs, 2.0 * fs);
    const auto base = sweep_of(sharp, f, LCR_LAYOUT_IMPEDANCE, false);
    const piezo_result p = analysed(*base);

    auto scaled_z = make_lcr_sweep();
    auto scaled_f = make_lcr_sweep();
    *scaled_z = *base;
    *scaled_f = *base;
    for (int i = 0; i < base->points; ++i) {
        scaled_z->point[i].value[3] *= 4.0;
        scaled_f->point[i].value[0] *= 2.0;
    }
    const piezo_result z4 = analysed(*scaled_z);
    EXPECT_EQ(z4.r, 4.0 * p.r);
    EXPECT_EQ(z4.l, 4.0 * p.l);
    EXPECT_EQ(z4.c, p.c / 4.0);
    EXPECT_EQ(z4.c_p, p.c_p / 4.0);
    EXPECT_EQ(z4.w_r, p.w_r);
    EXPECT_EQ(z4.w_a, p.w_a);

    const piezo_result f2 = analysed(*scaled_f);
    EXPECT_EQ(f2.r, p.r);
    EXPECT_EQ(f2.l, p.l / 2.0);
    EXPECT_EQ(f2.c, p.c / 2.0);
    EXPECT_EQ(f2.c_p, p.c_p / 2.0);
    EXPECT_EQ(f2.w_r, 2.0 * p.w_r);
}

TEST(PiezoAnalysis, ShownTextsOfAMinimumAndTheMaximumAfterIt)
{
    // 10 Ohms at 1 kHz, 10 kOhms at 1.1 kHz: Cp = 1 / (316.228 x 6911.50),
    // C = 0.21 Cp, L = 1 / ((2 pi 1000)^2 C); the 50 Ohms before the minimum
    // and the 5 kOhms after the maximum take no part.
    const auto block = magnitudes({{900, 50}, {1000, 10}, {1100, 10000}, {1200, 5000}});
    const piezo_result p = analysed(*block);
    EXPECT_EQ(p.z_min, 10.0);
    EXPECT_EQ(p.z_max, 10000.0);
    const s_piezo_texts texts = piezo_result_texts(p);
    EXPECT_EQ(texts.r, "10.000 ");
    EXPECT_EQ(texts.c_p, "457.54 n");
    EXPECT_EQ(texts.c, "96.083 n");
    EXPECT_EQ(texts.l, "263.63 m");
}

// A maximum taken before the last minimum keeps its frequency: w_a then lies
// below w_r and C and L come out negative, shown as they are.
TEST(PiezoAnalysis, EarlierMaximumKeepsItsFrequency)
{
    const auto block = magnitudes({{1000, 5}, {2000, 10}, {3000, 3}, {4000, 2}});
    const piezo_result p = analysed(*block);
    EXPECT_EQ(p.z_min, 2.0);
    EXPECT_EQ(p.z_max, 2.0);
    EXPECT_EQ(p.w_r, 2.0 * pi * 4000);
    EXPECT_EQ(p.w_a, 2.0 * pi * 2000);
    EXPECT_LT(p.c, 0.0);
    EXPECT_LT(p.l, 0.0);
    EXPECT_EQ(piezo_result_texts(p).c.front(), '-');
}

TEST(PiezoAnalysis, AdmittanceBlockIsRefused)
{
    const double fs = sharp.series_frequency();
    const auto block = sweep_of(sharp, log_grid(400, 0.5 * fs, 2.0 * fs), LCR_LAYOUT_ADMITTANCE, false);
    const s_piezo_outcome outcome = piezo_analyse(*block, LCR_LAYOUT_ADMITTANCE);
    EXPECT_FALSE(outcome.accepted);
    EXPECT_NE(outcome.refusal.find("admittance"), std::string::npos) << outcome.refusal;
    expect_identical(outcome.result, piezo_start_values());
    for (const int layout : {LCR_LAYOUT_READING, LCR_LAYOUT_BASIC, LCR_LAYOUT_FULL, LCR_LAYOUT_IMPEDANCE, 0}) {
        EXPECT_EQ(piezo_layout_refusal(layout), nullptr) << layout;
    }
}

TEST(PiezoAnalysis, DegenerateDataShowZeroInEveryField)
{
    struct degenerate_case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        int stored_count;  // block.points as stored; -1: the number of pairs
    };
    const degenerate_case cases[] = {
        {"empty block", {}, -1},
        {"one point", {{1000, 10}}, -1},
        {"impedance only falls", {{1000, 30}, {2000, 20}, {3000, 10}}, -1},
        {"all equal", {{1000, 10}, {2000, 10}, {3000, 10}}, -1},
        {"all zero", {{1000, 0}, {2000, 0}, {3000, 0}}, -1},
        {"frequencies zero", {{0, 10}, {0, 100}}, -1},
        {"not numbers", {{1000, not_a_number}, {2000, not_a_number}}, -1},
        {"infinite maximum", {{1000, 10}, {2000, infinity}}, -1},
        {"negative count", {{1000, 10}, {2000, 100}}, -3},
        {"count beyond the block", {{1000, 10}, {2000, 100}}, SWEEP_MAX_POINTS + 1},
    };
    for (const degenerate_case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto block = magnitudes(c.points);
        if (c.stored_count != -1) {
            block->points = c.stored_count;
        }
        const s_piezo_texts texts = piezo_result_texts(analysed(*block));
        EXPECT_EQ(texts.r, "0");
        EXPECT_EQ(texts.l, "0");
        EXPECT_EQ(texts.c, "0");
        EXPECT_EQ(texts.c_p, "0");
    }
}

TEST(PiezoAnalysis, AnyZeroOrNonFiniteValueShowsZeroEverywhere)
{
    const piezo_result good{10, 1e4, 6283.2, 6911.5, 10, 1e-9, 1e-10, 0.0253};
    const s_piezo_texts shown = piezo_result_texts(good);
    EXPECT_EQ(shown.r, "10.000 ");
    EXPECT_EQ(shown.l, "25.300 m");
    EXPECT_EQ(shown.c, "100.00 p");
    EXPECT_EQ(shown.c_p, "1.0000 n");

    struct spoilt_case {
        double piezo_result::*member;
        double value;
    };
    const spoilt_case cases[] = {
        {&piezo_result::l, -0.0}, {&piezo_result::r, 0.0},  {&piezo_result::c, infinity},
        {&piezo_result::c_p, -infinity}, {&piezo_result::l, not_a_number},
    };
    for (const spoilt_case& c : cases) {
        piezo_result p = good;
        p.*c.member = c.value;
        SCOPED_TRACE(testing::Message() << c.value);
        const s_piezo_texts texts = piezo_result_texts(p);
        EXPECT_EQ(texts.r + texts.l + texts.c + texts.c_p, "0000");
    }
}

TEST(PiezoAnalysis, FieldTableNamesEveryFieldInOrderAndReadsBack)
{
    const char* const names[] = {"z_min", "z_max", "w_r", "w_a", "r", "c_p", "c", "l"};
    ASSERT_EQ(std::size(names), piezo_result_fields.size());
    const piezo_result in_order{1, 2, 3, 4, 5, 6, 7, 8};
    for (std::size_t i = 0; i < piezo_result_fields.size(); ++i) {
        const s_piezo_result_field& field = piezo_result_fields[i];
        EXPECT_STREQ(field.name, names[i]);
        EXPECT_EQ(in_order.*field.member, static_cast<double>(i + 1)) << field.name;
    }
    const double fs = broad.series_frequency();
    const piezo_result p = analysed(*sweep_of(broad, log_grid(100, 0.5 * fs, 2.0 * fs), LCR_LAYOUT_IMPEDANCE, false));
    for (const s_piezo_result_field& field : piezo_result_fields) {
        EXPECT_EQ(std::strtod(piezo_field_text(p, field).c_str(), nullptr), p.*field.member) << field.name;
    }
    const piezo_result empty = analysed(*magnitudes({}));
    EXPECT_EQ(piezo_field_text(empty, piezo_result_fields[5]), "inf");
}

TEST(PiezoGraphRange, FrequencyAndImpedanceAxes)
{
    struct range_case {
        const char* name;
        std::vector<std::pair<double, double>> points;
        s_piezo_graph_range want;
    };
    const range_case cases[] = {
        {"ascending", {{10, 50}, {100, 5000}, {1000, 700}}, {10, 1000, 40, 6000, true}},
        {"descending", {{1000, 700}, {100, 5000}, {10, 50}}, {10, 1000, 40, 6000, true}},
        {"every |Z| above 100 kOhm", {{10, 2e5}, {20, 3e5}}, {10, 20, 80000, 360000, true}},
        {"one point", {{1000, 20}}, {1000, 1010, 16, 24, true}},
        {"starts at 0 Hz", {{0, 20}, {50, 30}}, {1, 50, 16, 36, true}},
        {"values that are not finite", {{10, not_a_number}, {infinity, 30}, {20, 40}}, {10, 20, 24, 48, true}},
        {"empty block", {}, {1e9, 10, 80000, -60000, false}},
    };
    for (const range_case& c : cases) {
        SCOPED_TRACE(c.name);
        const s_piezo_graph_range got = piezo_graph_range(*magnitudes(c.points));
        EXPECT_DOUBLE_EQ(got.frequency_min, c.want.frequency_min);
        EXPECT_DOUBLE_EQ(got.frequency_max, c.want.frequency_max);
        EXPECT_DOUBLE_EQ(got.impedance_min, c.want.impedance_min);
        EXPECT_DOUBLE_EQ(got.impedance_max, c.want.impedance_max);
        EXPECT_EQ(got.found, c.want.found);
    }
}
