// An impedance graph drawn over a whole picture, as the command-line tool
// draws a sweep file: a white page around the plot, the window's steps
// before the drawing (rescale, ranges, the EIS analysis), and the white
// form of each graph.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "fra/lcr_layout.h"
#include "graph/colour_value.h"
#include "graph/recording_surface.h"
#include "impedance/eis_analysis.h"
#include "impedance/impedance_plot.h"
#include "support/drawing_checks.h"
#include "support/graph_settings_defaults.h"
#include "support/lcr_block_builder.h"

namespace {

// A layout-7 block (Z', Z'', |Z|, phase) from high to low frequency.
std::unique_ptr<s_lcr_sweep> impedance_block()
{
    std::vector<std::vector<double>> rows;
    for (int i = 0; i < 12; ++i) {
        rows.push_back({1e5 / (1 + i), 10.0 + 5 * i, -3.0 * i * (11 - i), 20.0 + i, -5.0 * i});
    }
    return lcr_block(rows);
}

struct plot_case {
    impedance_plot_kind kind;
    std::string first_title;  // the first text drawn
};

TEST(impedance_plot, each_kind_over_the_whole_picture)
{
    const plot_case cases[] = {
        {impedance_plot_kind::lcr_bode, "FREQUENCY (Hz)"},
        {impedance_plot_kind::lcr_nyquist, "Real Z' (Ohms)"},
        {impedance_plot_kind::eis, "Real Z' (Ohms)"},
        {impedance_plot_kind::piezo, "FREQUENCY (Hz)"},
    };
    const std::unique_ptr<s_lcr_sweep> sweep = impedance_block();
    for (const plot_case& c : cases) {
        for (const bool white : {false, true}) {
            SCOPED_TRACE(c.first_title + (white ? ", white" : ""));
            const int kind = impedance_plot_settings_kind(c.kind);
            s_graph_settings settings = default_graph_settings(kind < 0 ? GRAPH_KIND_LCR_BODE : kind);
            recording_surface surface;
            draw_impedance_plot(surface, {0, 0, 640, 400}, {c.kind, white}, *sweep, LCR_LAYOUT_IMPEDANCE, settings);
            expect_drawn_within(surface, {0, 0, 640, 400}, 16);

            const std::vector<s_drawing_record> fills = records_of(surface, drawing_op::fill_rect);
            ASSERT_GE(fills.size(), 2u);
            EXPECT_EQ(fills[0].area.right, 640);
            EXPECT_EQ(fills[0].area.bottom, 400);
            EXPECT_EQ(fills[0].brush.kind, brush_kind::white);  // the page
            EXPECT_EQ(fills[1].brush.kind, white ? brush_kind::white : brush_kind::black);
            EXPECT_EQ(text_records(surface).front().text, c.first_title);
            EXPECT_FALSE(surface.segments().empty());
        }
    }
}

TEST(impedance_plot, the_window_steps_run_before_the_drawing)
{
    const std::unique_ptr<s_lcr_sweep> sweep = impedance_block();
    recording_surface surface;

    // Bode: the frequency axis rescaled to the block, cursors on the first point.
    s_graph_settings bode = default_graph_settings(GRAPH_KIND_LCR_BODE);
    draw_impedance_plot(surface, {0, 0, 800, 500}, {impedance_plot_kind::lcr_bode, false}, *sweep,
                        LCR_LAYOUT_IMPEDANCE, bode);
    EXPECT_DOUBLE_EQ(bode.x_max, 1e5);
    EXPECT_DOUBLE_EQ(bode.x_min, 1e5 / 12);
    text_record(surface, "Freq.: 100.00 kHz");
    text_record(surface, "Z Mag.: 20.000 Ohms");
    text_record(surface, "Z Phase: 0.0000 \xB0");

    // EIS: the points the analysis (default tuning) found, marked in white
    // with four segments each.
    surface.clear();
    s_graph_settings eis = default_graph_settings(GRAPH_KIND_EIS);
    draw_impedance_plot(surface, {0, 0, 800, 500}, {impedance_plot_kind::eis, false}, *sweep,
                        LCR_LAYOUT_IMPEDANCE, eis);
    EXPECT_DOUBLE_EQ(eis.x_min, 10);
    const eis_result found = eis_scan(*sweep, LCR_LAYOUT_IMPEDANCE, EIS_DEFAULT_TUNING);
    const std::size_t marks = std::size_t{found.min_real_found} + found.peak_found + found.arc_end_found;
    ASSERT_GT(marks, 0u);
    EXPECT_EQ(segments_in_colour(surface, COLOUR_WHITE).size(), 4 * marks);

    // Piezo in white is the report's picture: its impedance title runs upwards.
    surface.clear();
    s_graph_settings unused = default_graph_settings(GRAPH_KIND_LCR_BODE);
    draw_impedance_plot(surface, {0, 0, 800, 500}, {impedance_plot_kind::piezo, true}, *sweep,
                        LCR_LAYOUT_IMPEDANCE, unused);
    EXPECT_EQ(text_record(surface, "IMPEDANCE (ohms)").current_font.direction, font_direction::up);
}

}  // namespace
