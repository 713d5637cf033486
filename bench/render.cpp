// Benchmark: a full repaint of the test graph with nine tests of 2000
// points each (curves, margin marks and read-outs), into the recording
// surface and, in the Windows build, through GDI on a memory bitmap of the
// window's size. Beside each the same run times a plain loop that writes
// as many line segments into a vector, so the figures say what the drawing
// costs above producing its lines.
//
// Further graphs go through a table: the LCR Bode graph of an impedance
// sweep of 2000 points (|Z| and phase, both cursors on the first point). A
// row whose drawing is not built in is listed as such.
//
// usage: bench_render [ROUNDS]
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "graph/gdi_memory_surface_win32.h"
#endif

#include "app/user_prompt.h"
#include "bench_support.h"
#include "fra/lcr_layout.h"
#include "fra/plot_margins.h"
#include "fra/test_graph_hooks.h"
#include "graph/autoscale_impedance.h"
#include "graph/drawing_surface.h"
#include "graph/graph_settings_file.h"
#include "graph/lcr_bode_draw.h"
#include "graph/recording_surface.h"
#include "graph/test_graph.h"
#include "graph/test_graph_draw.h"
#include "graph/test_graph_ranges.h"

namespace {

using bench::median;
using bench::now_seconds;
using complex = std::complex<double>;

constexpr int POINT_COUNT = 2000;
constexpr int PLOTS = 9;
constexpr s_rect AREA{0, 0, 1008, 600};

volatile long long sink = 0;

// A further graph of the benchmark: its name and its drawing over the area
// (nullptr while it is not built in).
struct s_bench_graph {
    const char* name;
    void (*draw)(drawing_surface& surface, const s_rect& area);
};

// A Randles cell (10 Ohms, then 100 Ohms beside 10 uF) swept from 0.1 Hz
// to 100 kHz as layout 7 (Z', Z'', |Z|, phase), its Bode graph rescaled as
// after new data, once; each drawing is one repaint.
struct s_lcr_bode_sample {
    std::unique_ptr<s_lcr_sweep> sweep = make_lcr_sweep();
    s_graph_settings settings{};
    s_lcr_bode_view view;

    s_lcr_bode_sample()
    {
        sweep->points = POINT_COUNT;
        for (int i = 0; i < POINT_COUNT; ++i) {
            const double f = 0.1 * std::pow(10.0, 6.0 * i / (POINT_COUNT - 1));
            const complex z = 10.0 + 100.0 / (1.0 + complex(0, 2 * std::numbers::pi * f) * 1e-3);
            s_lcr_result& point = sweep->point[i];
            point.value[0] = f;
            point.value[1] = z.real();
            point.value[2] = z.imag();
            point.value[3] = std::abs(z);
            point.value[4] = std::arg(z) * 180.0 / std::numbers::pi;
        }
        // No settings folder is found here: the kind's defaults.
        load_graph_settings(settings, GRAPH_KIND_LCR_BODE);
        view.layout = LCR_LAYOUT_IMPEDANCE;
        view.plot_a_value = 3;
        view.plot_b_value = 4;
        rescale_lcr_bode_graph(settings, *sweep, view.plot_a_value, view.plot_b_value);
    }
};

void draw_lcr_bode_sample(drawing_surface& surface, const s_rect& area)
{
    static const s_lcr_bode_sample sample;
    draw_lcr_bode(surface, area, sample.settings, *sample.sweep, sample.view);
}

const s_bench_graph further_graphs[] = {
    {"LCR Bode graph, 2000 points", draw_lcr_bode_sample},
};

// Nine plotted tests of the loop K / (s^3 + 3 s^2 + 3 s + 1) at different
// gains, 0.001 Hz to 1 kHz, their margins searched.
std::unique_ptr<s_test_graph_state> loop_graph()
{
    auto graph = std::make_unique<s_test_graph_state>();
    for (int plot = 0; plot < PLOTS; ++plot) {
        auto test = std::make_unique<s_test_plot>();
        test->name = "Loop " + std::to_string(plot + 1);
        test->appearance = plot_appearance_opening(plot);
        const double gain = 2.0 + plot;
        for (int i = 0; i < POINT_COUNT; ++i) {
            const double f = 1e-3 * std::pow(10.0, 6.0 * i / (POINT_COUNT - 1));
            const complex s(0, 2 * std::numbers::pi * f);
            const complex l = gain / (s * s * s + 3.0 * s * s + 3.0 * s + 1.0);
            test->points.push_back({f, 20 * std::log10(std::abs(l)), std::arg(l) * 180.0 / std::numbers::pi});
        }
        graph->tests.push_back(std::move(test));
    }
    autoscale_test_frequency(*graph);
    silent_prompt prompt;
    no_test_graph_hooks hooks;
    find_gain_phase_margins(*graph, true, prompt, hooks);
    for (const auto& plot : graph->tests) {
        plot->appearance.gain_margin_visible = true;
    }
    autoscale_test_gain(*graph);
    return graph;
}

// The median over rounds of one call, in milliseconds.
double milliseconds_per_call(int rounds, int repeats, const std::function<void()>& call)
{
    return bench::seconds_per_call(rounds, repeats, call) * 1e3;
}

void report(const char* what, double drawing, double plain)
{
    std::printf("%-44s %9.3f ms   plain segments %8.3f ms   ratio %6.1f\n", what, drawing, plain,
                plain > 0 ? drawing / plain : 0.0);
}

// The plain loop: count segments of a fixed pattern pushed into a vector.
double plain_segments(int rounds, int repeats, std::size_t count)
{
    std::vector<s_drawn_segment> segments;
    return milliseconds_per_call(rounds, repeats, [&] {
        segments.clear();
        for (std::size_t i = 0; i < count; ++i) {
            const int x = static_cast<int>(i % 888);
            segments.push_back({x, 10, x + 1, 11, {}});
        }
        sink = sink + static_cast<long long>(segments.size());
    });
}

}  // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    constexpr int repeats = 10;
    std::printf("bench_render: %d tests of %d points, %dx%d, median of %d rounds of %d repaints\n", PLOTS, POINT_COUNT,
                AREA.width(), AREA.height(), rounds, repeats);
    const std::unique_ptr<s_test_graph_state> graph = loop_graph();

    recording_surface recording;
    draw_test_graph(*graph, {}, recording, AREA, false);
    const std::size_t segments = recording.segments().size();
    std::printf("one repaint draws %zu line segments and %zu operations\n", segments, recording.records().size());

    report("test graph, recording surface", milliseconds_per_call(rounds, repeats, [&] {
               recording.clear();
               draw_test_graph(*graph, {}, recording, AREA, false);
               sink = sink + static_cast<long long>(recording.records().size());
           }),
           plain_segments(rounds, repeats, segments));

#ifdef _WIN32
    const HDC screen = GetDC(nullptr);
    const auto white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    report("test graph, GDI memory bitmap", milliseconds_per_call(rounds, repeats, [&] {
               const HBITMAP bitmap = draw_into_bitmap(screen, AREA.width(), AREA.height(), white,
                                                       [&](drawing_surface& surface, const s_rect& area) {
                                                           draw_test_graph(*graph, {}, surface, area, false);
                                                       });
               DeleteObject(bitmap);
           }),
           plain_segments(rounds, repeats, segments));
#endif

    for (const s_bench_graph& further : further_graphs) {
        if (further.draw == nullptr) {
            std::printf("%-44s not built in\n", further.name);
            continue;
        }
        recording_surface sample;
        further.draw(sample, AREA);
        report(further.name, milliseconds_per_call(rounds, repeats, [&] {
                   recording.clear();
                   further.draw(recording, AREA);
                   sink = sink + static_cast<long long>(recording.records().size());
               }),
               plain_segments(rounds, repeats, sample.segments().size()));
#ifdef _WIN32
        std::string name = std::string(further.name) + ", GDI";
        report(name.c_str(), milliseconds_per_call(rounds, repeats, [&] {
                   const HBITMAP bitmap = draw_into_bitmap(screen, AREA.width(), AREA.height(), white, further.draw);
                   DeleteObject(bitmap);
               }),
               plain_segments(rounds, repeats, sample.segments().size()));
#endif
    }
#ifdef _WIN32
    ReleaseDC(nullptr, screen);
#endif
    return 0;
}
