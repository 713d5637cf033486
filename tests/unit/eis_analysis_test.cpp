// The EIS scan: hand-built arcs whose results follow from the scan's rules
// step by step, Randles cells written in every layout and in both orders
// against the circuit values, and the properties the physics demands.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "fra/lcr_layout.h"
#include "impedance/eis_analysis.h"

namespace {

using complex = std::complex<double>;

// A layout-7 block from Nyquist pairs; frequencies 1000/(i+1), descending,
// or the same points reversed into ascending order.
std::unique_ptr<s_lcr_sweep> nyquist_block(const std::vector<double>& real, const std::vector<double>& imaginary,
                                           bool reversed)
{
    auto block = make_lcr_sweep();
    const int n = static_cast<int>(real.size());
    block->points = n;
    for (int i = 0; i < n; ++i) {
        const int at = reversed ? n - 1 - i : i;
        block->point[at].value[0] = 1000.0 / (i + 1);
        block->point[at].value[1] = real[static_cast<std::size_t>(i)];
        block->point[at].value[2] = imaginary[static_cast<std::size_t>(i)];
    }
    return block;
}

std::vector<double> counting_from(double first, int n)
{
    std::vector<double> values;
    for (int i = 0; i < n; ++i) {
        values.push_back(first + i);
    }
    return values;
}

std::vector<double> negated(std::vector<double> values)
{
    for (double& v : values) {
        v = -v;
    }
    return values;
}

// 100 points, Z' = 10 + i; |Z''| rises to 50 at point 40, falls to 0 at 70
// and rises again. With smoothing 29 % the window is 28 points (100 x 0.29
// is just below 29): the first point below 44 (= 50 - 50 x 0.12) is 44, the
// slope to point 16 rises, so the arc ends at Z'(16) = 26, marked at 44 - 14.
std::vector<double> long_arc_imaginary()
{
    std::vector<double> values;
    for (int i = 0; i < 100; ++i) {
        const double magnitude = i <= 40 ? 50.0 * i / 40.0 : i <= 70 ? 50.0 - (i - 40) * 5.0 / 3.0 : i - 70.0;
        values.push_back(-magnitude);
    }
    return values;
}

struct scan_case {
    const char* name;
    eis_tuning tuning;
    std::vector<double> real;
    std::vector<double> imaginary;
    int min_index;
    int peak_index;      // -1: no peak found
    int arc_end_index;   // -1: no marked arc end
    double min_real;
    double max_real;
    double max_imaginary;
};

const std::vector<double> sensitivity_arc = negated({2, 4, 8, 10, 9.5, 7, 5, 0.5, 6, 1.5});

const scan_case scan_cases[] = {
    {"two points, window 0: the second is the peak, the arc runs out", EIS_DEFAULT_TUNING,
     {5, 6}, {-1, -2}, 0, 1, -1, 5, 6, -2},
    {"two points: the second a new minimum, nothing after it", EIS_DEFAULT_TUNING,
     {5, 4}, {-1, -2}, 1, -1, -1, 4, 4, 0},
    {"Z' falling all the way never leaves the minimum", EIS_DEFAULT_TUNING,
     {9, 8, 7, 6}, {-1, -2, -3, -2}, 3, -1, -1, 6, 6, 0},
    {"a new minimum is tested before the rise and restarts the arc", EIS_DEFAULT_TUNING,
     {10, 11, 9, 12}, {0, -5, -7, -6}, 2, 3, -1, 9, 12, -6},
    {"the peak keeps its sign, the largest magnitude wins", EIS_DEFAULT_TUNING,
     {5, 6, 7}, {0, -3, 4}, 0, 2, -1, 5, 7, 4},
    {"sensitivity 12 %: ends where the slope over 2 points first rises below 9.04", {0.2, 0.12},
     counting_from(10, 10), sensitivity_arc, 0, 3, 7, 10, 16, -10},
    {"sensitivity 0 %: ends as soon as |Z''| is below the peak", {0.2, 0.0},
     counting_from(10, 10), sensitivity_arc, 0, 3, 3, 10, 12, -10},
    {"sensitivity 100 %: ends only below |Z''| at the smallest Z'", {0.2, 1.0},
     counting_from(10, 10), sensitivity_arc, 0, 3, 8, 10, 17, -10},
    {"the window must lie strictly inside the sweep", {0.5, 0.12},
     {10, 11, 12, 13}, {0, -10, -5, -6}, 0, 1, -1, 10, 13, -10},
    {"a flat slope ends the arc at the point itself, unmarked", {0.5, 0.12},
     {10, 11, 12, 13, 14}, {0, -4, -10, -4, -4}, 0, 2, -1, 10, 13, -10},
    {"a slope of 0/0 is not positive: the scan goes on", {0.5, 0.12},
     {10, 12, 11, 12, 13}, {0, -4, -10, -4, -3}, 0, 2, -1, 10, 13, -10},
    {"the slope is taken over magnitudes", {0.5, 0.12},
     {-12, -10, -8, 9, 20}, {0, -10, -9.5, -5, -1}, 0, 1, 2, -12, -10, -10},
    {"the fall is measured towards Z'' at the smallest Z', not the smallest Z''", {0.5, 0.12},
     counting_from(10, 5), {-6, -0.5, -10, -9.3, -9}, 0, 2, 2, 10, 11, -10},
    {"the window is truncated in doubles: 29 % of 100 points is 28", {0.29, 0.12},
     counting_from(10, 100), long_arc_imaginary(), 0, 40, 30, 10, 26, -50},
};

TEST(EisScan, HandBuiltArcsInBothOrders)
{
    for (const scan_case& c : scan_cases) {
        const int n = static_cast<int>(c.real.size());
        for (const bool reversed : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (reversed ? " (ascending)" : " (descending)"));
            const auto block = nyquist_block(c.real, c.imaginary, reversed);
            const eis_result r = eis_scan(*block, LCR_LAYOUT_IMPEDANCE, c.tuning);
            const auto stored = [&](int i) { return reversed ? n - 1 - i : i; };
            EXPECT_EQ(r.min_real_index, stored(c.min_index));
            EXPECT_TRUE(r.min_real_found);
            EXPECT_EQ(r.peak_found, c.peak_index >= 0);
            EXPECT_EQ(r.peak_index, c.peak_index >= 0 ? stored(c.peak_index) : 0);
            EXPECT_EQ(r.arc_end_found, c.arc_end_index >= 0);
            EXPECT_EQ(r.arc_end_index, c.arc_end_index >= 0 ? stored(c.arc_end_index) : 0);
            EXPECT_EQ(r.min_real, c.min_real);
            EXPECT_EQ(r.max_real, c.max_real);
            EXPECT_EQ(r.max_imaginary, c.max_imaginary);
            EXPECT_EQ(r.peak_frequency, block->point[r.peak_index].value[0]);
            EXPECT_EQ(r.rs, c.min_real);
            EXPECT_EQ(r.rp, c.max_real - c.min_real);
            if (c.peak_index < 0 || r.rp <= 0.0) {
                EXPECT_EQ(r.cp, 0.0);
            } else {
                // Rp and Cp in parallel: the top of the arc at 2 pi f Rp Cp = 1.
                EXPECT_NEAR(r.cp * 2.0 * std::numbers::pi * r.peak_frequency * r.rp, 1.0, 1e-15);
            }
        }
    }
}

TEST(EisScan, DegenerateBlocksGiveZeros)
{
    auto block = make_lcr_sweep();
    block->point[0].value[0] = 100.0;
    block->point[0].value[1] = 5.0;
    block->point[0].value[2] = -1.0;
    for (const int points : {-3, 0, 1, SWEEP_MAX_POINTS + 1}) {
        block->points = points;
        const eis_result r = eis_scan(*block, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
        EXPECT_EQ(r.rs, 0.0) << points;
        EXPECT_EQ(r.cp, 0.0) << points;
        EXPECT_FALSE(r.min_real_found) << points;
    }
    // Values that are not numbers, a zero frequency and tunings no dialog
    // accepts scan without a fault.
    const double nan = std::nan("");
    block->points = 6;
    const double real[] = {nan, 3.0, 4.0, nan, 5.0, 6.0};
    const double imaginary[] = {-1.0, nan, -4.0, -2.0, nan, -1.0};
    for (int i = 0; i < 6; ++i) {
        block->point[i] = {{0.0, real[i], imaginary[i]}};
    }
    for (const eis_tuning tuning : {eis_tuning{nan, nan}, eis_tuning{-1.0, 2.0}, eis_tuning{7.0, -3.0}}) {
        const eis_result r = eis_scan(*block, LCR_LAYOUT_IMPEDANCE, tuning);
        EXPECT_EQ(r.rs, 3.0);
        EXPECT_EQ(r.cp, 0.0);  // no finite Rp, and the peak lies at 0 Hz
    }
}

TEST(EisState, ResetRestoresTheDefaultTuningAndEmptiesTheFields)
{
    eis_state state;
    EXPECT_EQ(state.tuning.smoothing, 0.05);
    EXPECT_EQ(state.tuning.sensitivity, 0.12);
    const auto block = nyquist_block({5, 6}, {-1, -2}, false);
    state.tuning = {0.5, 0.5};
    eis_calculate(state, *block, LCR_LAYOUT_IMPEDANCE);
    EXPECT_TRUE(state.calculated);
    EXPECT_EQ(state.result.rp, 1.0);
    EXPECT_EQ(state.tuning.smoothing, 0.5);  // a calculation keeps the tuning

    block->points = 1;  // too few points: the calculation is a reset
    eis_calculate(state, *block, LCR_LAYOUT_IMPEDANCE);
    EXPECT_FALSE(state.calculated);
    EXPECT_EQ(state.result.rp, 0.0);
    EXPECT_EQ(state.tuning.smoothing, 0.05);
    EXPECT_EQ(state.tuning.sensitivity, 0.12);
}

// ---- Randles cells -------------------------------------------------------

// Rs in series with Cdl parallel to (Rct + Warburg), the Warburg element
// sigma (1 - j) / sqrt(omega).
struct randles_cell {
    double rs;
    double rct;
    double cdl;
    double sigma;
    complex z(double f) const
    {
        const double omega = 2.0 * std::numbers::pi * f;
        const complex faradaic = rct + sigma * complex(1.0, -1.0) / std::sqrt(omega);
        return rs + 1.0 / (complex(0.0, omega * cdl) + 1.0 / faradaic);
    }
    double top_frequency() const { return 1.0 / (2.0 * std::numbers::pi * rct * cdl); }
};

struct frequency_grid {
    int points;
    double low;
    double high;
    double step() const { return std::pow(high / low, 1.0 / (points - 1)); }
    double at(int i) const { return low * std::pow(high / low, static_cast<double>(i) / (points - 1)); }
};

// One point of impedance z at frequency f as the layout writes it.
void write_point(s_lcr_result& point, int layout, double f, complex z)
{
    point = {};
    point.value[0] = f;
    const double omega = 2.0 * std::numbers::pi * f;
    switch (layout) {
    case LCR_LAYOUT_IMPEDANCE:
        point.value[1] = z.real();
        point.value[2] = z.imag();
        point.value[3] = std::abs(z);
        point.value[4] = std::arg(z) * 180.0 / std::numbers::pi;
        break;
    case LCR_LAYOUT_ADMITTANCE: {
        const complex y = 1.0 / z;
        point.value[1] = y.real();
        point.value[2] = y.imag();
        point.value[3] = std::abs(y);
        point.value[4] = std::arg(y) * 180.0 / std::numbers::pi;
        break;
    }
    default:  // series R and C (codes 3 and 6 share the first eight values)
        point.value[3] = std::abs(z);
        point.value[4] = std::arg(z) * 180.0 / std::numbers::pi;
        point.value[6] = -1.0 / (omega * z.imag());
        point.value[7] = z.real();
        break;
    }
}

std::unique_ptr<s_lcr_sweep> randles_block(const randles_cell& cell, const frequency_grid& grid, int layout,
                                           bool descending)
{
    auto block = make_lcr_sweep();
    block->points = grid.points;
    for (int i = 0; i < grid.points; ++i) {
        const double f = grid.at(i);
        write_point(block->point[descending ? grid.points - 1 - i : i], layout, f, cell.z(f));
    }
    return block;
}

// Walking a dense grid down from the highest frequency: the frequency of
// the first maximum of |Z''| (the arc's top) and of the minimum after it
// (the valley before a Warburg tail, or the lowest frequency for a plain arc).
struct arc_landmarks {
    double top;
    double valley;
};
arc_landmarks landmarks(const randles_cell& cell, const frequency_grid& grid)
{
    const frequency_grid dense{200001, grid.low, grid.high};
    const auto magnitude = [&](int i) { return std::fabs(cell.z(dense.at(i)).imag()); };
    int i = dense.points - 1;
    while (i > 0 && magnitude(i - 1) > magnitude(i)) {
        --i;
    }
    const double top = dense.at(i);
    while (i > 0 && magnitude(i - 1) < magnitude(i)) {
        --i;
    }
    return {top, dense.at(i)};
}

// A second opinion on the arc: the algebraic (Kasa) circle through the
// points, x^2 + y^2 + D x + E y + F = 0 by least squares, and where it
// crosses the real axis.
struct real_axis_crossings {
    double left;
    double right;
};
real_axis_crossings fitted_circle(const std::vector<complex>& points)
{
    double m[3][4] = {};
    for (const complex& p : points) {
        const double row[3] = {p.real(), p.imag(), 1.0};
        const double rhs = -(p.real() * p.real() + p.imag() * p.imag());
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                m[r][c] += row[r] * row[c];
            }
            m[r][3] += row[r] * rhs;
        }
    }
    for (int pivot = 0; pivot < 3; ++pivot) {
        for (int r = 0; r < 3; ++r) {
            if (r != pivot) {
                const double factor = m[r][pivot] / m[pivot][pivot];
                for (int c = 0; c < 4; ++c) {
                    m[r][c] -= factor * m[pivot][c];
                }
            }
        }
    }
    const double d = m[0][3] / m[0][0];
    const double f = m[2][3] / m[2][2];
    const double half_chord = std::sqrt(d * d / 4.0 - f);  // the roots of x^2 + D x + F
    return {-d / 2.0 - half_chord, -d / 2.0 + half_chord};
}

const randles_cell randles_cells[] = {
    {10.0, 100.0, 10e-6, 0.0},
    {0.5, 2000.0, 0.2e-6, 0.0},
    {10.0, 100.0, 10e-6, 20.0},
    {0.5, 2000.0, 0.2e-6, 150.0},
};
const frequency_grid randles_grids[] = {
    {100, 1e-2, 1e6},
    {400, 1e-2, 1e6},
    {61, 1e-1, 1e5},
};
const int all_layouts[] = {LCR_LAYOUT_IMPEDANCE, LCR_LAYOUT_ADMITTANCE, LCR_LAYOUT_BASIC, LCR_LAYOUT_FULL};

TEST(EisRandles, AgreesWithTheCircuitWithinTheGridInEveryLayout)
{
    for (const randles_cell& cell : randles_cells) {
        for (const frequency_grid& grid : randles_grids) {
            const double step = grid.step();
            const arc_landmarks marks = landmarks(cell, grid);
            for (const int layout : all_layouts) {
                SCOPED_TRACE(testing::Message() << "Rs " << cell.rs << " Rct " << cell.rct << " sigma " << cell.sigma
                                                << ", " << grid.points << " points, layout " << layout);
                const auto block = randles_block(cell, grid, layout, true);
                const eis_result r = eis_scan(*block, layout, EIS_DEFAULT_TUNING);

                // Z' falls with frequency, so the arc's start is the top sample.
                EXPECT_NEAR(r.rs, cell.rs, cell.z(grid.high).real() - cell.rs + 1e-9 * cell.rct);
                // The top is the sample nearest the circuit's top.
                EXPECT_LE(std::fabs(std::log(r.peak_frequency / marks.top)), std::log(step) / 2.0 + 1e-9);
                EXPECT_LT(r.max_imaginary, 0.0);
                double rp_high = cell.rct;
                if (cell.sigma == 0.0) {
                    // A plain arc never turns up: its end is the lowest sample.
                    EXPECT_FALSE(r.arc_end_found);
                    EXPECT_NEAR(r.rs + r.rp, cell.rs + cell.rct,
                                cell.rs + cell.rct - cell.z(grid.low).real() + 1e-9 * cell.rct);
                } else {
                    // The arc ends at the valley before the Warburg tail, read
                    // a window back of where the tail first rises.
                    const int window = static_cast<int>(grid.points * EIS_DEFAULT_SMOOTHING);
                    const double reach = std::pow(step, window + 1);
                    EXPECT_TRUE(r.arc_end_found);
                    EXPECT_GE(r.rs + r.rp, cell.z(marks.valley * reach).real());
                    EXPECT_LE(r.rs + r.rp, cell.z(marks.valley / reach).real());
                    rp_high = cell.z(marks.valley / reach).real() - cell.rs;
                }
                // Cp, off by no more than the top's grid step and the
                // Warburg element's share of the arc's width.
                const double allowed = std::log(step) / 2.0 + std::fabs(std::log(marks.top / cell.top_frequency())) +
                                       std::log(rp_high / cell.rct) + 1e-6;
                EXPECT_LE(std::fabs(std::log(r.cp / cell.cdl)), allowed);
            }
        }
    }
}

TEST(EisRandles, TheFittedCircleSeesTheSameArc)
{
    const randles_cell cell = randles_cells[0];
    const frequency_grid grid = randles_grids[0];
    const auto block = randles_block(cell, grid, LCR_LAYOUT_IMPEDANCE, true);
    std::vector<complex> arc;
    for (int i = 0; i < grid.points; ++i) {
        arc.emplace_back(block->point[i].value[1], block->point[i].value[2]);
    }
    const real_axis_crossings circle = fitted_circle(arc);
    EXPECT_NEAR(circle.left, cell.rs, 1e-6);
    EXPECT_NEAR(circle.right, cell.rs + cell.rct, 1e-6);

    const eis_result r = eis_scan(*block, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
    EXPECT_NEAR(r.rs, circle.left, 1e-3);
    EXPECT_NEAR(r.rs + r.rp, circle.right, 0.05);
}

void expect_same_values(const eis_result& a, const eis_result& b)
{
    EXPECT_EQ(a.min_real, b.min_real);
    EXPECT_EQ(a.max_real, b.max_real);
    EXPECT_EQ(a.max_imaginary, b.max_imaginary);
    EXPECT_EQ(a.peak_frequency, b.peak_frequency);
    EXPECT_EQ(a.rs, b.rs);
    EXPECT_EQ(a.rp, b.rp);
    EXPECT_EQ(a.cp, b.cp);
    EXPECT_EQ(a.min_real_found, b.min_real_found);
    EXPECT_EQ(a.arc_end_found, b.arc_end_found);
    EXPECT_EQ(a.peak_found, b.peak_found);
}

TEST(EisRandles, AscendingAndDescendingGiveTheSameResults)
{
    for (const randles_cell& cell : randles_cells) {
        for (const frequency_grid& grid : randles_grids) {
            for (const int layout : all_layouts) {
                SCOPED_TRACE(testing::Message() << "sigma " << cell.sigma << ", " << grid.points << " points, layout "
                                                << layout);
                const eis_result down = eis_scan(*randles_block(cell, grid, layout, true), layout, EIS_DEFAULT_TUNING);
                const eis_result up = eis_scan(*randles_block(cell, grid, layout, false), layout, EIS_DEFAULT_TUNING);
                expect_same_values(down, up);
                const int last = grid.points - 1;
                EXPECT_EQ(up.min_real_index, last - down.min_real_index);
                EXPECT_EQ(up.peak_index, last - down.peak_index);
                if (down.arc_end_found) {
                    EXPECT_EQ(up.arc_end_index, last - down.arc_end_index);
                }
            }
        }
    }
}

TEST(EisRandles, ScalingImpedanceOrFrequencyScalesTheResultsExactly)
{
    // Powers of two scale every double exactly, so the scan takes the same
    // decisions and its values scale without rounding.
    for (const randles_cell& cell : randles_cells) {
        const frequency_grid grid = randles_grids[0];
        const auto block = randles_block(cell, grid, LCR_LAYOUT_IMPEDANCE, true);
        const eis_result base = eis_scan(*block, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);

        auto scaled = randles_block(cell, grid, LCR_LAYOUT_IMPEDANCE, true);
        for (int i = 0; i < grid.points; ++i) {
            scaled->point[i].value[1] *= 4.0;
            scaled->point[i].value[2] *= 4.0;
        }
        const eis_result big = eis_scan(*scaled, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
        EXPECT_EQ(big.rs, 4.0 * base.rs);
        EXPECT_EQ(big.rp, 4.0 * base.rp);
        EXPECT_EQ(big.max_imaginary, 4.0 * base.max_imaginary);
        EXPECT_EQ(big.peak_index, base.peak_index);
        EXPECT_EQ(big.arc_end_index, base.arc_end_index);
        EXPECT_EQ(big.cp, base.cp / 4.0);

        auto faster = randles_block(cell, grid, LCR_LAYOUT_IMPEDANCE, true);
        for (int i = 0; i < grid.points; ++i) {
            faster->point[i].value[0] *= 2.0;
        }
        const eis_result fast = eis_scan(*faster, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
        EXPECT_EQ(fast.rp, base.rp);
        EXPECT_EQ(fast.peak_frequency, 2.0 * base.peak_frequency);
        EXPECT_EQ(fast.cp, base.cp / 2.0);
    }
}

TEST(EisRandles, EveryLayoutOfTheSameCircuitReadsTheSameArc)
{
    for (const randles_cell& cell : randles_cells) {
        const frequency_grid grid = randles_grids[1];
        const eis_result z = eis_scan(*randles_block(cell, grid, LCR_LAYOUT_IMPEDANCE, true), LCR_LAYOUT_IMPEDANCE,
                                      EIS_DEFAULT_TUNING);
        for (const int layout : {LCR_LAYOUT_ADMITTANCE, LCR_LAYOUT_BASIC, LCR_LAYOUT_FULL}) {
            SCOPED_TRACE(testing::Message() << "sigma " << cell.sigma << ", layout " << layout);
            const eis_result other = eis_scan(*randles_block(cell, grid, layout, true), layout, EIS_DEFAULT_TUNING);
            EXPECT_EQ(other.min_real_index, z.min_real_index);
            EXPECT_EQ(other.peak_index, z.peak_index);
            EXPECT_EQ(other.arc_end_index, z.arc_end_index);
            EXPECT_NEAR(other.rs, z.rs, 1e-12 * cell.rct);
            EXPECT_NEAR(other.rp, z.rp, 1e-12 * cell.rct);
            EXPECT_NEAR(other.cp, z.cp, 1e-12 * cell.cdl);
        }
    }
}

}  // namespace
