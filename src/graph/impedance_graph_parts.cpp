#include "graph/impedance_graph_parts.h"

#include <algorithm>

#include "graph/colour_value.h"
#include "graph/graph_mapping.h"
#include "graph/number_format.h"
#include "graph/plot_frame.h"

namespace {

constexpr int readout_left_inset = 50;
constexpr int readout_bottom_gap = 43;
constexpr int readout_hidden_lift = 50;

}  // namespace

bool plot_has_room(const s_rect& plot)
{
    return plot.width() > 0 && plot.height() > 0;
}

bool white_background(const s_graph_settings& settings)
{
    return settings.bg_colour == BACKGROUND_WHITE;
}

s_brush plot_background(const s_graph_settings& settings)
{
    return {white_background(settings) ? brush_kind::white : brush_kind::black, 0};
}

s_grid_pens impedance_grid_pens(const s_graph_settings& settings)
{
    const s_grid_colours colours = grid_colours(white_background(settings));
    const pen_style minor_style = settings.axis_scale[PLOT_A] == AXIS_LOG ? pen_style::solid : pen_style::dotted;
    return {{pen_style::solid, 1, colours.major}, {minor_style, 1, colours.minor}};
}

std::uint32_t plot_colour(const s_graph_settings& settings, int plot)
{
    return static_cast<std::uint32_t>(settings.colour[plot]) & 0x00FFFFFFu;
}

s_pen plot_curve_pen(const s_graph_settings& settings, int plot)
{
    const int width = std::clamp(settings.weight[plot], WEIGHT_THIN, WEIGHT_THICK) + 1;
    return {pen_style::solid, width, plot_colour(settings, plot)};
}

void begin_impedance_graph(drawing_surface& surface, const s_rect& plot, const s_graph_settings& settings)
{
    draw_plot_frame(surface, plot, plot_background(settings));
    surface.set_transparent_text(true);
    surface.select_font(s_font{});
    surface.set_text_colour(COLOUR_BLACK);
}

int drawn_points(const s_lcr_sweep& sweep)
{
    return std::clamp(sweep.points, 0, SWEEP_MAX_POINTS);
}

std::optional<int> cursor_point(const s_lcr_sweep& sweep, int cursor)
{
    const int points = drawn_points(sweep);
    if (points == 0) {
        return std::nullopt;
    }
    return std::clamp(cursor, 0, points - 1);
}

std::string readout_text(const char* name, double value, const char* unit)
{
    return std::string(name) + ": " + format_eng_text(value) + unit;
}

int readout_left(const s_rect& area)
{
    return area.left + readout_left_inset;
}

int readout_top(const s_rect& area, bool settings_hidden)
{
    return area.bottom - readout_bottom_gap - (settings_hidden ? readout_hidden_lift : 0);
}

std::optional<s_plot_offset> plot_offset(std::optional<double> x, std::optional<double> y)
{
    if (!x || !y) {
        return std::nullopt;
    }
    return s_plot_offset{*x, *y};
}

std::optional<s_plot_pixel> pixel_on_plot(const s_rect& plot, std::optional<double> x, std::optional<double> y)
{
    if (!x || !y || *x < 0 || *x > plot.width() || *y < 0 || *y > plot.height()) {
        return std::nullopt;
    }
    return s_plot_pixel{plot.left + pixel_of_offset(*x).value_or(0), plot.bottom - pixel_of_offset(*y).value_or(0)};
}
