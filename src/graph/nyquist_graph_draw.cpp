#include "graph/nyquist_graph_draw.h"

#include <vector>

#include "fra/lcr_layout.h"
#include "graph/autoscale_impedance.h"
#include "graph/axis_label_text.h"
#include "graph/axis_marks.h"
#include "graph/axis_marks_draw.h"
#include "graph/clipped_curve.h"
#include "graph/colour_value.h"
#include "graph/frequency_axis.h"
#include "graph/graph_mapping.h"
#include "graph/graph_titles.h"

namespace {

constexpr int title_band_gap = 20;
constexpr int title_band_height = 20;
constexpr int side_title_inset = 20;
constexpr int real_divisions = 5;
constexpr int imaginary_divisions = 8;
constexpr int cursor_circle_radius = 5;
// "Imagnary" is the graph's own spelling.
constexpr const char* real_title = "Real Z' (Ohms)";
constexpr const char* imaginary_title = "Imagnary Z'' (Ohms)";
constexpr const char* real_name = "Real Z'";
constexpr const char* imaginary_name = "Imaginary Z''";
constexpr const char* ohms = "Ohms";

void draw_titles(drawing_surface& surface, const s_rect& area, const s_rect& plot, const s_graph_settings& settings)
{
    draw_centred_title(surface,
                       {plot.left, plot.bottom + title_band_gap, plot.right,
                        plot.bottom + title_band_gap + title_band_height},
                       real_title);
    draw_downward_title(surface, area.left + side_title_inset, plot.top, plot.bottom, imaginary_title,
                        plot_colour(settings, PLOT_A));
    surface.set_text_colour(COLOUR_BLACK);
}

struct s_point_offsets {
    std::optional<double> x;
    std::optional<double> y;
};

s_point_offsets offsets_of(const s_nyquist_axes& axes, const s_lcr_result& point)
{
    return {x_offset_of_real_z(axes.drawn, point, axes.real->pixels_per_unit, axes.layout),
            y_offset_of_imaginary_z(axes.drawn, point, axes.imaginary->pixels_per_unit, axes.layout)};
}

}  // namespace

s_nyquist_axes draw_nyquist_graph(drawing_surface& surface, const s_rect& area, const s_rect& plot,
                                  s_graph_settings& settings, const s_lcr_sweep& sweep, int layout)
{
    autoscale_nyquist_real_axis(settings, sweep, layout);
    autoscale_nyquist_imaginary_axis(settings, sweep, layout);

    s_nyquist_axes axes;
    axes.plot = plot;
    axes.layout = layout;
    axes.drawn = settings;
    if (!plot_has_room(plot)) {
        return axes;
    }
    begin_impedance_graph(surface, plot, settings);
    draw_titles(surface, area, plot, settings);

    axes.real = drawn_axis(settings.x_axis_scale == AXIS_LOG, settings.x_min, settings.x_max, plot.width());
    axes.imaginary = linear_drawn_axis(settings.min[PLOT_A], settings.max[PLOT_A], plot.height());
    if (!axes.real || !axes.imaginary) {
        axes.real.reset();
        axes.imaginary.reset();
        return axes;
    }
    axes.drawn.x_min = axes.real->min;

    const s_grid_pens pens = impedance_grid_pens(settings);
    draw_vertical_axis_marks(surface, plot,
                             linear_axis_marks(*axes.imaginary, imaginary_divisions, linear_vertical_label), pens,
                             axis_side::left, plot.left);
    if (axes.real->logarithmic) {
        draw_horizontal_axis_marks(surface, plot, log_axis_marks(*axes.real, frequency_label), pens,
                                   horizontal_labels::from_line);
    } else {
        draw_horizontal_axis_marks(surface, plot,
                                   linear_axis_marks(*axes.real, real_divisions, linear_horizontal_label), pens,
                                   horizontal_labels::centred);
    }

    surface.select_pen(plot_curve_pen(settings, PLOT_A));
    {
        clipped_curve curve(surface, plot, 0, plot.width());
        const int points = drawn_points(sweep);
        for (int i = 0; i < points; ++i) {
            const s_point_offsets o = offsets_of(axes, sweep.point[i]);
            curve.add(plot_offset(o.x, o.y));
        }
    }
    return axes;
}

std::optional<s_plot_pixel> nyquist_pixel(const s_nyquist_axes& axes, const s_lcr_result& point)
{
    if (!axes.real || !axes.imaginary) {
        return std::nullopt;
    }
    const s_point_offsets o = offsets_of(axes, point);
    return pixel_on_plot(axes.plot, o.x, o.y);
}

void draw_nyquist_cursor(drawing_surface& surface, const s_nyquist_axes& axes, const s_lcr_sweep& sweep, int cursor,
                         int readout_x, int readout_y)
{
    const std::optional<int> index = cursor_point(sweep, cursor);
    if (!axes.drawn.cursor[PLOT_A] || !axes.real || !axes.imaginary || !index) {
        return;
    }
    const s_lcr_result& point = sweep.point[*index];
    const std::uint32_t colour = plot_colour(axes.drawn, PLOT_A);
    if (const std::optional<s_plot_pixel> pixel = nyquist_pixel(axes, point)) {
        surface.select_pen({pen_style::dotted, 1, colour});
        surface.move_to(axes.plot.left, pixel->y);
        surface.line_to(pixel->x, pixel->y);
        surface.line_to(pixel->x, axes.plot.bottom);
        surface.select_pen({pen_style::solid, 1, colour});
        // Circled more widely than a cursor point of the Bode graph.
        constexpr int r = cursor_circle_radius;
        surface.ellipse({pixel->x - r, pixel->y - r, pixel->x + r + 1, pixel->y + r + 1}, solid_brush(colour));
    }
    const s_nyquist_pair pair = lcr_nyquist_pair(point, axes.layout);
    draw_readout_row(surface, readout_x, readout_y,
                     {{readout_text("Frequency", point.value[0], "Hz"), colour},
                      {readout_text(real_name, pair.real, ohms), colour},
                      {readout_text(imaginary_name, pair.imaginary, ohms), colour}});
}
