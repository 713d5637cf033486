// Benchmark: the analyses of a measurement, each on 2000 points: the Randles
// cell scan of an impedance sweep, the piezo analysis, the graph window's
// gain and phase margin search over nine plotted tests, and the automatic
// ranges of the impedance Bode graph. Each is a linear scan: beside each the
// same run times a plain loop that only reads the same values, so the
// figures say what the analysis costs above touching its data.
//
// usage: bench_analysis [ROUNDS]
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>

#include "app/user_prompt.h"
#include "bench_support.h"
#include "fra/lcr_layout.h"
#include "fra/plot_margins.h"
#include "fra/sweep_records.h"
#include "fra/test_graph_hooks.h"
#include "graph/autoscale_impedance.h"
#include "graph/graph_settings.h"
#include "graph/test_graph.h"
#include "impedance/eis_analysis.h"
#include "impedance/piezo_analysis.h"

namespace {

using bench::median;
using bench::now_seconds;
using complex = std::complex<double>;

constexpr int POINT_COUNT = 2000;
constexpr int PLOTS = 9;
constexpr int REPEATS = 200;  // calls per timed round, so that a round lasts long enough to time

// Something the optimiser cannot see through, so that no loop is dropped.
volatile double sink = 0;

double frequency_at(int i)
{
    return 0.1 * std::pow(10.0, 6.0 * i / (POINT_COUNT - 1));  // 0.1 Hz to 100 kHz
}

// A layout-7 block (f, Z', Z'', |Z|, phase) of impedance z(f).
std::unique_ptr<s_lcr_sweep> impedance_block(const std::function<complex(double)>& z)
{
    auto block = make_lcr_sweep();
    block->points = POINT_COUNT;
    for (int i = 0; i < POINT_COUNT; ++i) {
        const double f = frequency_at(i);
        const complex value = z(f);
        double* v = block->point[i].value;
        v[0] = f;
        v[1] = value.real();
        v[2] = value.imag();
        v[3] = std::abs(value);
        v[4] = std::arg(value) * 180.0 / std::numbers::pi;
    }
    return block;
}

complex randles(double f)
{
    const complex jw(0, 2 * std::numbers::pi * f);
    return 5.0 + 250.0 / (1.0 + jw * 250.0 * 2e-6);
}

complex resonator(double f)
{
    const complex jw(0, 2 * std::numbers::pi * f * 1e-1);  // series resonance near 5 kHz
    const complex motional = 10.0 + jw * 0.1 + 1.0 / (jw * 1e-7);
    const complex plate = 1.0 / (jw * 1e-9);
    return motional * plate / (motional + plate);
}

// Nine plotted tests of the loop K / (s^3 + 3 s^2 + 3 s + 1) at different
// gains, each with its crossings.
s_test_graph_state loop_graph()
{
    s_test_graph_state graph;
    for (int plot = 0; plot < PLOTS; ++plot) {
        auto test = std::make_unique<s_test_plot>();
        test->name = "Loop " + std::to_string(plot + 1);
        test->appearance = plot_appearance_opening(plot);
        const double gain = 2.0 + plot;
        for (int i = 0; i < POINT_COUNT; ++i) {
            const double f = frequency_at(i) * 1e-2;
            const complex s(0, 2 * std::numbers::pi * f);
            const complex l = gain / (s * s * s + 3.0 * s * s + 3.0 * s + 1.0);
            test->points.push_back({f, 20 * std::log10(std::abs(l)), std::arg(l) * 180.0 / std::numbers::pi});
        }
        graph.tests.push_back(std::move(test));
    }
    return graph;
}

// The plain loop: reads values 0 to 4 of every point once.
double read_block(const s_lcr_sweep& block)
{
    double total = 0;
    for (int i = 0; i < block.points; ++i) {
        const double* v = block.point[i].value;
        total += v[0] + v[1] + v[2] + v[3] + v[4];
    }
    return total;
}

double read_graph(const s_test_graph_state& graph)
{
    double total = 0;
    for (const auto& plot : graph.tests) {
        for (const s_test_graph_point& p : plot->points) {
            total += p.frequency + p.gain + p.phase;
        }
    }
    return total;
}

// The median over rounds of the time of one call, in microseconds.
double microseconds_per_call(int rounds, const std::function<void()>& call)
{
    return bench::seconds_per_call(rounds, REPEATS, call) * 1e6;
}

void report(const char* what, double analysis, double plain)
{
    std::printf("%-34s %9.2f us   plain read %8.2f us   ratio %6.1f\n", what, analysis, plain,
                plain > 0 ? analysis / plain : 0.0);
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    std::printf("bench_analysis: %d points, median of %d rounds of %d calls\n", POINT_COUNT, rounds, REPEATS);

    const auto cell = impedance_block(randles);
    eis_state eis;
    report("eis_calculate (Randles cell)",
           microseconds_per_call(rounds, [&] { eis_calculate(eis, *cell, LCR_LAYOUT_IMPEDANCE); sink = eis.result.rp; }),
           microseconds_per_call(rounds, [&] { sink = read_block(*cell); }));

    const auto piezo = impedance_block(resonator);
    piezo_result result{};
    report("piezo_calculate (resonator)",
           microseconds_per_call(rounds, [&] { piezo_calculate(*piezo, result); sink = result.l; }),
           microseconds_per_call(rounds, [&] { sink = read_block(*piezo); }));

    s_test_graph_state graph = loop_graph();
    silent_prompt prompt;
    no_test_graph_hooks hooks;
    report("margin search, 9 tests",
           microseconds_per_call(rounds,
                                 [&] {
                                     for (const auto& plot : graph.tests) {
                                         plot->appearance.band_found = false;
                                     }
                                     find_gain_phase_margins(graph, true, prompt, hooks);
                                     sink = graph.tests[0]->appearance.band_low;
                                 }),
           microseconds_per_call(rounds, [&] { sink = read_graph(graph); }));

    // The Bode graph as it opens: logarithmic frequency and |Z|, linear phase,
    // automatic ranges padded by 10 % at both ends.
    s_graph_settings settings{};
    settings.x_axis_scale = AXIS_LOG;
    settings.axis_scale[PLOT_A] = AXIS_LOG;
    settings.axis_scale[PLOT_B] = AXIS_LINEAR;
    for (const int plot : {PLOT_A, PLOT_B}) {
        settings.pad_type[plot] = PAD_BOTH;
        settings.pad_value[plot] = 10;
        settings.pad_percent[plot] = true;
    }
    report("autoscale, Bode graph",
           microseconds_per_call(rounds,
                                 [&] {
                                     autoscale_frequency_axis(settings, *cell);
                                     autoscale_plot_axis(settings, *cell, PLOT_A, 3);
                                     autoscale_plot_axis(settings, *cell, PLOT_B, 4);
                                     sink = settings.max[PLOT_A];
                                 }),
           microseconds_per_call(rounds, [&] { sink = read_block(*cell); }));
    return 0;
}
