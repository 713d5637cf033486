// Every impedance graph on blocks and settings no instrument should send and
// no user should type: values that are huge, not finite or of the wrong
// sign, ranges reversed, flat, enormous or impossible on a logarithmic
// scale, areas too small for a plot. Drawing never fails and nothing lands
// far outside the graph's area.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "fra/lcr_layout.h"
#include "graph/autoscale_impedance.h"
#include "graph/lcr_bode_draw.h"
#include "graph/lcr_nyquist_draw.h"
#include "graph/recording_surface.h"
#include "impedance/eis_analysis.h"
#include "impedance/eis_nyquist_draw.h"
#include "impedance/piezo_graph_draw.h"
#include "support/drawing_checks.h"
#include "support/graph_settings_defaults.h"
#include "support/lcr_block_builder.h"

namespace {

const double NaN = std::nan("");
const double INF = std::numeric_limits<double>::infinity();
const double BIG = 1e300;

struct hostile_block {
    std::string name;
    std::vector<std::vector<double>> rows;
};

std::vector<hostile_block> hostile_blocks()
{
    return {
        {"ordinary", {{100, 1, 2, 30, -45, 1e-3, 1e-6, 10}, {1000, 2, 1, 40, -30, 2e-3, 2e-6, 20}}},
        {"huge values",
         {{BIG, BIG, -BIG, BIG, -BIG, BIG, BIG, BIG}, {1e-300, -BIG, BIG, 1e-300, BIG, -BIG, 1e-300, -BIG}}},
        {"not finite", {{NaN, INF, -INF, NaN, INF, NaN, NaN, NaN}, {100, NaN, NaN, INF, -INF, INF, INF, INF}}},
        {"mixed", {{100, 0, 0, 0, 0, 0, 0, 0}, {NaN, 5, 5, 5, 5, 5, 5, 5}, {1e6, -5, 1e200, -1e-200, 720, 1, 1, 1}}},
        {"flat", {{1000, 5, 5, 5, 5, 5, 5, 5}, {1000, 5, 5, 5, 5, 5, 5, 5}}},
        {"one point", {{50, 1, 1, 1, 1, 1, 1, 1}}},
        {"negative frequencies", {{-100, 1, 2, 3, 4, 5, 6, 7}, {-10, 2, 3, 4, 5, 6, 7, 8}}},
    };
}

// Ways to spoil the settings after the automatic ranges: each applied alone.
struct settings_spoiler {
    std::string name;
    std::function<void(s_graph_settings&)> apply;
};

std::vector<settings_spoiler> spoilers()
{
    const auto manual_x = [](double min, double max, std::int32_t scale) {
        return [=](s_graph_settings& g) {
            g.x_range = RANGE_MANUAL;
            g.x_axis_scale = scale;
            g.x_min = min;
            g.x_max = max;
        };
    };
    const auto manual_a = [](double min, double max, std::int32_t scale) {
        return [=](s_graph_settings& g) {
            g.range[PLOT_A] = RANGE_MANUAL;
            g.axis_scale[PLOT_A] = scale;
            g.min[PLOT_A] = min;
            g.max[PLOT_A] = max;
        };
    };
    return {
        {"as loaded", [](s_graph_settings&) {}},
        {"log x over 600 decades", manual_x(1e-300, 1e300, AXIS_LOG)},
        {"log x reversed", manual_x(1e5, 10, AXIS_LOG)},
        {"log x from below 0", manual_x(-5, 1e3, AXIS_LOG)},
        {"log x at 0", manual_x(0, 0, AXIS_LOG)},
        {"linear x flat", manual_x(3, 3, AXIS_LINEAR)},
        {"linear x huge", manual_x(-1e308, 1e308, AXIS_LINEAR)},
        {"linear x tiny span", manual_x(1, 1 + 1e-15, AXIS_LINEAR)},
        {"x not finite", manual_x(NaN, INF, AXIS_LINEAR)},
        {"log A over 600 decades", manual_a(1e-300, 1e300, AXIS_LOG)},
        {"log A below 0", manual_a(-10, -1, AXIS_LOG)},
        {"linear A reversed", manual_a(100, -100, AXIS_LINEAR)},
        {"linear A tiny span", manual_a(0, 1e-300, AXIS_LINEAR)},
        {"A not finite", manual_a(-INF, NaN, AXIS_LINEAR)},
        {"weights and colours out of range",
         [](s_graph_settings& g) {
             g.weight[PLOT_A] = 99;
             g.weight[PLOT_B] = -4;
             g.colour[PLOT_A] = -1;
             g.bg_colour = 7;
         }},
    };
}

// An ordinary area away from the origin, and one too small for any plot.
const s_rect areas[] = {{20, 30, 620, 430}, {0, 0, 100, 60}};

TEST(graph_drawing_bounds, every_graph_stays_on_its_area)
{
    for (const hostile_block& b : hostile_blocks()) {
        for (const int layout : {LCR_LAYOUT_BASIC, LCR_LAYOUT_ADMITTANCE}) {
            std::unique_ptr<s_lcr_sweep> sweep = lcr_block(b.rows);
            const eis_result analysis = eis_scan(*sweep, layout, EIS_DEFAULT_TUNING);
            for (const settings_spoiler& spoil : spoilers()) {
                for (const s_rect& area : areas) {
                    SCOPED_TRACE(b.name + ", layout " + std::to_string(layout) + ", " + spoil.name + ", area " +
                                 std::to_string(area.width()));
                    recording_surface surface;

                    s_graph_settings bode = default_graph_settings(GRAPH_KIND_LCR_BODE);
                    rescale_lcr_bode_graph(bode, *sweep, 3, 4);
                    spoil.apply(bode);
                    s_lcr_bode_view bode_view;
                    bode_view.layout = layout;
                    bode_view.plot_a_value = 3;
                    bode_view.plot_b_value = 4;
                    bode_view.cursor_a = 1;
                    bode_view.cursor_b = -7;
                    draw_lcr_bode(surface, area, bode, *sweep, bode_view);
                    expect_drawn_within(surface, area);

                    surface.clear();
                    s_graph_settings nyquist = default_graph_settings(GRAPH_KIND_LCR_NYQUIST);
                    spoil.apply(nyquist);
                    draw_lcr_nyquist(surface, area, nyquist, *sweep, {layout, true, 1});
                    expect_drawn_within(surface, area);

                    surface.clear();
                    s_graph_settings eis = default_graph_settings(GRAPH_KIND_EIS);
                    spoil.apply(eis);
                    draw_eis_nyquist(surface, area, eis, *sweep, {layout, 40, 0, &analysis});
                    expect_drawn_within(surface, area);

                    if (spoil.name != "as loaded") {
                        continue;  // the Piezo graph has no settings
                    }
                    for (const s_piezo_grid grid : {s_piezo_grid{0, 0}, s_piezo_grid{2, 2}, s_piezo_grid{-3, 9}}) {
                        surface.clear();
                        draw_piezo_graph(surface, area, *sweep, grid);
                        expect_drawn_within(surface, area);
                        surface.clear();
                        draw_piezo_graph_picture(surface, area, *sweep, grid);
                        expect_drawn_within(surface, area);
                    }
                }
            }
        }
    }
}

TEST(graph_drawing_bounds, an_area_without_room_for_the_plot_draws_nothing)
{
    const std::unique_ptr<s_lcr_sweep> sweep = lcr_block(hostile_blocks().front().rows);
    const s_rect tiny{0, 0, 100, 60};
    recording_surface surface;
    s_graph_settings settings = default_graph_settings(GRAPH_KIND_LCR_BODE);
    draw_lcr_bode(surface, tiny, settings, *sweep, s_lcr_bode_view{});
    draw_lcr_nyquist(surface, tiny, settings, *sweep, s_lcr_nyquist_view{});
    draw_eis_nyquist(surface, tiny, settings, *sweep, s_eis_nyquist_view{});
    draw_piezo_graph(surface, tiny, *sweep, s_piezo_grid{});
    draw_piezo_graph_picture(surface, tiny, *sweep, s_piezo_grid{});
    EXPECT_TRUE(surface.records().empty());
}

}  // namespace
