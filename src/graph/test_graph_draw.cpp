#include "graph/test_graph_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graph/clipped_curve.h"
#include "graph/fixed_text.h"
#include "graph/graph_colours.h"
#include "graph/graph_markers.h"
#include "graph/phase_axis_start.h"
#include "graph/plot_frame.h"
#include "graph/test_graph_geometry.h"
#include "graph/test_graph_margin_marks.h"

namespace {

// Plot rectangle within the graph area.
constexpr int PLOT_LEFT = 60;
constexpr int PLOT_TOP = 10;
constexpr int PLOT_RIGHT = 60;
constexpr int PLOT_BOTTOM_SCREEN = 150;
constexpr int PLOT_BOTTOM_BITMAP = 90;

constexpr std::uint32_t TEXT_COLOUR = 0;  // axis labels and titles, on the window's own colour

// Value axes: 8 divisions, labels in boxes 20 pixels high around their line.
constexpr int VALUE_DIVISIONS = 8;
constexpr int GAIN_LABEL_LEFT = 20;   // from the area's left edge
constexpr int GAIN_LABEL_RIGHT = 50;
constexpr int PHASE_LABEL_LEFT = 70;  // beyond the plot width, from the area's left edge
constexpr int PHASE_LABEL_RIGHT = 100;
constexpr int PHASE_STEP = 45;
constexpr double PHASE_SPAN = 360;

// Frequency labels: from 8 left to 45 right of their line, 5 to 25 below the plot.
constexpr int FREQUENCY_LABEL_BEFORE = 8;
constexpr int FREQUENCY_LABEL_AFTER = 45;

constexpr int LEGEND_TOP = 60;  // below the plot; 15 higher for a bitmap
constexpr int LEGEND_BITMAP_RISE = 15;
constexpr int LEGEND_HEIGHT = 50;
constexpr int LEGEND_CELLS = 18;  // a cell is w / 18 wide, a test takes two

std::uint32_t margin_colour(std::int32_t choice, std::int32_t custom)
{
    return choice == 0 ? 0x000000 : choice == 1 ? 0xFFFFFF : static_cast<std::uint32_t>(custom);
}

// "Name" as "N.ame" cut to first letter, "." and the last characters.
std::string shortened(const std::string& name, std::size_t keep_last)
{
    if (name.size() <= keep_last + 2) {
        return name;
    }
    return name.substr(0, 1) + "." + name.substr(name.size() - keep_last);
}

std::string gain_label(double value, double span)
{
    // A label that is 0 but for rounding reads 0.0, not -0.0.
    if (std::fabs(value) < std::fabs(span) * 1e-9) {
        value = 0;
    }
    return fixed_text(value, 1);
}

void draw_titles(drawing_surface& surface, const s_test_graph_geometry& g)
{
    surface.set_text_colour(TEXT_COLOUR);
    surface.select_font(normal_font());
    surface.text_in_rect("FREQUENCY (Hz)", {g.plot.left, g.plot.bottom + 20, g.plot.right, g.plot.bottom + 40},
                         text_align::centre, text_lines::single_centred);
    const int middle = (g.plot.top + g.plot.bottom) / 2;
    // The gain title runs downwards in a column centred 25 pixels from the
    // area's left edge, the phase title upwards 25 from its right edge.
    surface.select_font(downward_font());
    const std::string gain_title = "GAIN (dB)";
    const s_text_size gain_size = surface.text_extent(gain_title);
    surface.text_at(g.area.left + 25 + gain_size.height / 2, middle - gain_size.width / 2, gain_title);
    surface.select_font(upward_font());
    const std::string phase_title = "PHASE (\xB0)";
    const s_text_size phase_size = surface.text_extent(phase_title);
    surface.text_at(g.area.right - 25 - phase_size.height / 2, middle + phase_size.width / 2, phase_title);
}

void vertical_line(drawing_surface& surface, const s_rect& plot, int x)
{
    surface.move_to(x, plot.top + 1);
    surface.line_to(x, plot.bottom - 1);
}

void draw_value_axes(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& g,
                     const s_pen& grid_pen)
{
    surface.select_font(normal_font());
    surface.set_text_colour(TEXT_COLOUR);
    const double span = graph.gain_max - graph.gain_min;
    for (int j = 0; j <= VALUE_DIVISIONS; ++j) {
        const int y = g.plot.bottom - static_cast<int>(std::lround(g.height * j / static_cast<double>(VALUE_DIVISIONS)));
        const double gain = graph.gain_min + span / VALUE_DIVISIONS * j;
        surface.text_in_rect(gain_label(gain, span), {g.area.left + GAIN_LABEL_LEFT, y - 10, g.area.left + GAIN_LABEL_RIGHT, y + 10},
                             text_align::right, text_lines::single_centred);
        surface.text_in_rect(std::to_string(g.phase_start + PHASE_STEP * j),
                             {g.area.left + g.width + PHASE_LABEL_LEFT, y - 10, g.area.left + g.width + PHASE_LABEL_RIGHT, y + 10},
                             text_align::left, text_lines::single_centred);
    }
    surface.select_pen(grid_pen);
    for (int j = 1; j < VALUE_DIVISIONS; ++j) {
        const int y = g.plot.bottom - static_cast<int>(std::lround(g.height * j / static_cast<double>(VALUE_DIVISIONS)));
        surface.move_to(g.plot.left + 1, y);
        surface.line_to(g.plot.right - 1, y);
    }
}

void draw_frequency_axis(drawing_surface& surface, const s_test_graph_geometry& g, const s_pen& major_pen,
                         const s_pen& minor_pen)
{
    const std::vector<s_frequency_tick> ticks = frequency_ticks(*g.frequency, g.width);
    for (const bool major : {false, true}) {
        surface.select_pen(major ? major_pen : minor_pen);
        for (const s_frequency_tick& tick : ticks) {
            if (tick.line && tick.major == major) {
                vertical_line(surface, g.plot, g.plot.left + tick.x);
            }
        }
    }
    surface.select_font(normal_font());
    surface.set_text_colour(TEXT_COLOUR);
    for (const s_frequency_tick& tick : ticks) {
        if (!tick.label.empty()) {
            const int x = g.plot.left + tick.x;
            surface.text_in_rect(tick.label,
                                 {x - FREQUENCY_LABEL_BEFORE, g.plot.bottom + 5, x + FREQUENCY_LABEL_AFTER, g.plot.bottom + 25},
                                 text_align::left, text_lines::single_centred);
        }
    }
}

void draw_legend(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& g,
                 bool for_bitmap)
{
    const int count = static_cast<int>(graph.tests.size());
    const int cell = g.width / LEGEND_CELLS;
    if (count == 0 || cell <= 0) {
        return;
    }
    // A bitmap's 90-pixel margin is 5 pixels short of the raised legend:
    // the band moves up to stay whole inside the graph area.
    const int top = std::min(g.plot.bottom + LEGEND_TOP - LEGEND_BITMAP_RISE * (for_bitmap ? 1 : 0),
                             g.area.bottom - LEGEND_HEIGHT);
    const int left = g.area.left + PLOT_LEFT;
    const s_rect band{left, top, left + 2 * count * cell, top + LEGEND_HEIGHT};
    surface.fill_rect(band, test_graph_background(graph));
    surface.frame_rect(band, test_graph_box_frame(graph));
    surface.frame_rect(grown_rect(band, -1), test_graph_box_frame(graph));
    surface.select_font(normal_font());
    for (int i = 0; i < count; ++i) {
        const s_test_plot& plot = *graph.tests[static_cast<std::size_t>(i)];
        const s_plot_appearance& look = plot.appearance;
        const int x = left + cell * 2 * i;
        surface.set_text_colour(test_graph_foreground(graph));
        surface.text_in_rect(shortened(plot.name, 3), {x + 2, top + 2, x + 2 * cell - 2, top + 17}, text_align::centre,
                             text_lines::single_centred);
        if (look.gain_visible) {
            surface.set_text_colour(test_gain_colour(look));
            surface.text_in_rect("Gain ", {x + 4, top + 18, x + cell, top + 33}, text_align::left, text_lines::single_centred);
        }
        if (look.phase_visible) {
            surface.set_text_colour(test_phase_colour(look));
            surface.text_in_rect("Phase", {x + 4, top + 34, x + cell, top + 49}, text_align::left, text_lines::single_centred);
        }
        if (look.margins_found && look.gain_margin_visible) {
            draw_square_marker(surface, x + cell + cell / 2, top + 25, test_gain_margin_colour(look));
        }
        if (look.margins_found && look.phase_margin_visible) {
            draw_diamond_marker(surface, x + cell + cell / 2, top + 41, test_phase_margin_colour(look));
        }
    }
}

// The band between the margin search's crossings, when the curves are drawn
// only there; the whole axis otherwise.
void curve_window(const s_plot_appearance& look, const s_test_graph_geometry& g, double& low, double& high)
{
    low = 0;
    high = g.width;
    if (look.band_mode != 0 || !look.band_found) {
        return;
    }
    const std::optional<double> from = g.x_of(look.band_low);
    const std::optional<double> to = g.x_of(look.band_high);
    low = from ? *from : 0;
    high = to ? *to : g.width;
}

void draw_curve(drawing_surface& surface, const s_test_graph_geometry& g, const std::vector<s_test_graph_point>& points,
                bool phase, const s_pen& pen, double low, double high)
{
    surface.select_pen(pen);
    clipped_curve curve(surface, g.plot, low, high);
    for (const s_test_graph_point& point : points) {
        curve.add(phase ? g.phase_point(point) : g.gain_point(point));
    }
}

void draw_curves(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& g)
{
    for (const auto& plot : graph.tests) {
        const s_plot_appearance& look = plot->appearance;
        double low = 0;
        double high = 0;
        curve_window(look, g, low, high);
        if (look.gain_visible) {
            draw_curve(surface, g, plot->points, false, {pen_style::solid, look.gain_weight, test_gain_colour(look)}, low, high);
        }
        if (look.phase_visible) {
            draw_curve(surface, g, plot->points, true, {pen_style::solid, look.phase_weight, test_phase_colour(look)}, low, high);
        }
    }
}

void draw_combined_response(drawing_surface& surface, const s_test_graph_state& graph, const s_test_graph_geometry& g)
{
    if (!graph.combined.present) {
        return;
    }
    const s_pen pen{pen_style::solid, 2, test_graph_foreground(graph)};
    draw_curve(surface, g, graph.combined.points, false, pen, 0, g.width);
    draw_curve(surface, g, graph.combined.points, true, pen, 0, g.width);
}

}  // namespace

s_rect test_graph_plot_rect(const s_rect& area, bool for_bitmap)
{
    return {area.left + PLOT_LEFT, area.top + PLOT_TOP, area.right - PLOT_RIGHT,
            area.bottom - (for_bitmap ? PLOT_BOTTOM_BITMAP : PLOT_BOTTOM_SCREEN)};
}

int test_graph_phase_start(std::int32_t phase_range_setting)
{
    return phase_axis_start(phase_range_setting);
}

std::uint32_t test_gain_colour(const s_plot_appearance& look)
{
    return static_cast<std::uint32_t>(graph_colour_value(look.gain_colour_index, look.gain_custom_colour));
}

std::uint32_t test_phase_colour(const s_plot_appearance& look)
{
    return static_cast<std::uint32_t>(graph_colour_value(look.phase_colour_index, look.phase_custom_colour));
}

std::uint32_t test_gain_margin_colour(const s_plot_appearance& look)
{
    return margin_colour(look.gain_margin_colour, look.gain_margin_custom_colour);
}

std::uint32_t test_phase_margin_colour(const s_plot_appearance& look)
{
    return margin_colour(look.phase_margin_colour, look.phase_margin_custom_colour);
}

std::uint32_t test_graph_background_colour(const s_test_graph_state& graph)
{
    switch (graph.background_mode) {
    case TEST_BACKGROUND_WHITE:
        return 0xFFFFFF;
    case TEST_BACKGROUND_CUSTOM:
        return static_cast<std::uint32_t>(graph.background_custom_colour) & 0xFFFFFF;
    default:
        return 0x000000;
    }
}

s_brush test_graph_background(const s_test_graph_state& graph)
{
    switch (graph.background_mode) {
    case TEST_BACKGROUND_WHITE:
        return {brush_kind::white};
    case TEST_BACKGROUND_CUSTOM:
        return solid_brush(test_graph_background_colour(graph));
    default:
        return {brush_kind::black};
    }
}

bool test_graph_light_background(const s_test_graph_state& graph)
{
    return is_light_colour(test_graph_background_colour(graph));
}

std::uint32_t test_graph_foreground(const s_test_graph_state& graph)
{
    return test_graph_light_background(graph) ? 0x000000 : 0xFFFFFF;
}

s_brush test_graph_box_frame(const s_test_graph_state& graph)
{
    return {graph.background_mode == TEST_BACKGROUND_BLACK ? brush_kind::light_grey : brush_kind::dark_grey};
}

s_font normal_font()
{
    return {};
}

s_font upward_font()
{
    return {0, false, font_direction::up, ""};
}

s_font downward_font()
{
    return {0, false, font_direction::down, ""};
}

s_font bold_font()
{
    return {0, true, font_direction::normal, ""};
}

std::optional<double> s_test_graph_geometry::x_of(double f) const
{
    return frequency ? frequency->offset(f) : std::nullopt;
}

std::optional<double> s_test_graph_geometry::y_of_gain(double gain) const
{
    if (!std::isfinite(gain)) {
        return std::nullopt;
    }
    return (gain - gain_min) * pixels_per_db;
}

std::optional<double> s_test_graph_geometry::y_of_phase(double phase) const
{
    if (!std::isfinite(phase)) {
        return std::nullopt;
    }
    return (phase - phase_start) * pixels_per_degree;
}

std::optional<s_plot_offset> s_test_graph_geometry::gain_point(const s_test_graph_point& point) const
{
    const std::optional<double> x = x_of(point.frequency);
    const std::optional<double> y = y_of_gain(point.gain);
    if (!x || !y) {
        return std::nullopt;
    }
    return s_plot_offset{*x, *y};
}

std::optional<s_plot_offset> s_test_graph_geometry::phase_point(const s_test_graph_point& point) const
{
    const std::optional<double> x = x_of(point.frequency);
    const std::optional<double> y = y_of_phase(point.phase);
    if (!x || !y) {
        return std::nullopt;
    }
    return s_plot_offset{*x, *y};
}

s_test_graph_geometry test_graph_geometry(const s_test_graph_state& graph, const s_rect& area, bool for_bitmap)
{
    s_test_graph_geometry g;
    g.area = area;
    g.plot = test_graph_plot_rect(area, for_bitmap);
    g.width = g.plot.width();
    g.height = g.plot.height();
    g.phase_start = test_graph_phase_start(graph.phase_range_setting);
    if (g.width <= 0 || g.height <= 0) {
        return g;
    }
    const double gain_span = graph.gain_max - graph.gain_min;
    if (!std::isfinite(graph.gain_min) || !std::isfinite(gain_span) || !(gain_span > 0)) {
        return g;
    }
    g.gain_min = graph.gain_min;
    g.pixels_per_db = g.height / gain_span;
    g.pixels_per_degree = g.height / PHASE_SPAN;
    if (!(g.pixels_per_db > 0) || !std::isfinite(g.pixels_per_db)) {
        return g;
    }
    g.frequency = frequency_scale(graph.frequency_min, graph.frequency_max, graph.log_frequency, g.width);
    return g;
}

void draw_test_graph(const s_test_graph_state& graph, const s_test_graph_cursors& cursors, drawing_surface& surface,
                     const s_rect& area, bool for_bitmap)
{
    const s_test_graph_geometry g = test_graph_geometry(graph, area, for_bitmap);
    surface.set_transparent_text(true);
    draw_plot_frame(surface, g.plot, test_graph_background(graph));
    draw_titles(surface, g);
    if (g.scaled()) {
        const s_grid_colours colours = grid_colours(test_graph_light_background(graph));
        // Minor lines are solid on a logarithmic frequency axis, dotted on a linear one.
        const s_pen major_pen{pen_style::solid, 1, colours.major};
        const s_pen minor_pen{graph.log_frequency ? pen_style::solid : pen_style::dotted, 1, colours.minor};
        draw_value_axes(surface, graph, g, minor_pen);
        draw_frequency_axis(surface, g, major_pen, minor_pen);
    }
    draw_legend(surface, graph, g, for_bitmap);
    if (!g.scaled()) {
        return;
    }
    draw_curves(surface, graph, g);
    draw_margin_marks(surface, graph, g);
    draw_combined_response(surface, graph, g);
    draw_cursor_readouts(surface, graph, cursors, g);
}
