#include "graph/lcr_bode_draw.h"

#include <vector>

#include "graph/axis_label_text.h"
#include "graph/axis_marks.h"
#include "graph/axis_marks_draw.h"
#include "graph/clipped_curve.h"
#include "graph/colour_value.h"
#include "graph/drawn_axis.h"
#include "graph/frequency_axis.h"
#include "graph/graph_mapping.h"
#include "graph/graph_markers.h"
#include "graph/graph_titles.h"
#include "graph/impedance_graph_parts.h"
#include "graph/lcr_quantity_texts.h"
#include "graph/number_format.h"

namespace {

constexpr int plot_side_inset = 80;
constexpr int plot_top_inset = 10;
constexpr int plot_bottom_inset = 70;
constexpr int hidden_bottom_inset = 130;
constexpr int title_band_gap = 20;  // below the plot
constexpr int title_band_height = 20;
constexpr int side_title_inset = 20;
constexpr int frequency_divisions = 10;
constexpr int value_divisions = 8;
constexpr const char* no_plot_title = "None";

// One plot of the graph: its value index, when it names a quantity of the
// layout, and its axis when that can be drawn.
struct s_bode_plot {
    int plot;
    int value = 0;
    const s_lcr_quantity_text* text = nullptr;
    std::optional<s_drawn_axis> axis;
};

s_bode_plot bode_plot(const s_graph_settings& settings, const s_lcr_bode_view& view, int plot, int height)
{
    s_bode_plot p{plot};
    const int value = plot == PLOT_A ? view.plot_a_value : view.plot_b_value;
    if (value < 1) {
        return p;
    }
    p.text = lcr_quantity_text(view.layout, value);
    if (p.text == nullptr) {
        return p;
    }
    p.value = value;
    p.axis = drawn_axis(settings.axis_scale[plot] == AXIS_LOG, settings.min[plot], settings.max[plot], height);
    return p;
}

void draw_titles(drawing_surface& surface, const s_rect& area, const s_rect& plot, const s_graph_settings& settings,
                 const s_bode_plot& a, const s_bode_plot& b)
{
    draw_centred_title(surface,
                       {plot.left, plot.bottom + title_band_gap, plot.right,
                        plot.bottom + title_band_gap + title_band_height},
                       "FREQUENCY (Hz)");
    draw_downward_title(surface, area.left + side_title_inset, plot.top, plot.bottom,
                        a.text != nullptr ? a.text->title : no_plot_title, plot_colour(settings, PLOT_A));
    draw_upward_title(surface, area.right - side_title_inset, plot.top, plot.bottom,
                      b.text != nullptr ? b.text->title : no_plot_title, plot_colour(settings, PLOT_B));
    surface.set_text_colour(COLOUR_BLACK);
}

void draw_frequency_axis(drawing_surface& surface, const s_rect& plot, const s_drawn_axis& axis,
                         const s_grid_pens& pens)
{
    if (axis.logarithmic) {
        draw_horizontal_axis_marks(surface, plot, log_axis_marks(axis, frequency_label), pens,
                                   horizontal_labels::from_line);
    } else {
        draw_horizontal_axis_marks(surface, plot,
                                   linear_axis_marks(axis, frequency_divisions, linear_horizontal_label), pens,
                                   horizontal_labels::centred);
    }
}

void draw_value_axis(drawing_surface& surface, const s_rect& plot, const s_bode_plot& p, const s_grid_pens& pens)
{
    if (!p.axis) {
        return;
    }
    const std::vector<s_axis_mark> marks = p.axis->logarithmic
                                               ? log_axis_marks(*p.axis, format_eng_text)
                                               : linear_axis_marks(*p.axis, value_divisions, linear_vertical_label);
    // Plot B's lines cross the right half only, so the two grids stay apart.
    const bool left = p.plot == PLOT_A;
    draw_vertical_axis_marks(surface, plot, marks, pens, left ? axis_side::left : axis_side::right,
                             left ? plot.left : plot.left + plot.width() / 2);
}

struct s_point_offsets {
    std::optional<double> x;
    std::optional<double> y;
};

s_point_offsets offsets_of(const s_graph_settings& drawn, const s_lcr_result& point, const s_drawn_axis& frequency,
                           const s_bode_plot& p)
{
    return {x_offset_of_frequency(drawn, point, frequency.pixels_per_unit),
            y_offset_of_value(drawn, point, p.axis->pixels_per_unit, p.value, p.plot)};
}

void draw_curve(drawing_surface& surface, const s_rect& plot, const s_graph_settings& drawn,
                const s_lcr_sweep& sweep, const s_drawn_axis& frequency, const s_bode_plot& p)
{
    surface.select_pen(plot_curve_pen(drawn, p.plot));
    clipped_curve curve(surface, plot, 0, plot.width());
    const int points = drawn_points(sweep);
    for (int i = 0; i < points; ++i) {
        const s_point_offsets o = offsets_of(drawn, sweep.point[i], frequency, p);
        curve.add(plot_offset(o.x, o.y));
    }
}

void draw_cursor_marker(drawing_surface& surface, const s_rect& plot, const s_graph_settings& drawn,
                        const s_lcr_result& point, const s_drawn_axis& frequency, const s_bode_plot& p)
{
    const s_point_offsets o = offsets_of(drawn, point, frequency, p);
    if (const std::optional<s_plot_pixel> pixel = pixel_on_plot(plot, o.x, o.y)) {
        const std::uint32_t colour = plot_colour(drawn, p.plot);
        surface.select_pen({pen_style::solid, 1, colour});
        draw_cursor_circle(surface, pixel->x, pixel->y, solid_brush(colour));
    }
}

void draw_cursors(drawing_surface& surface, const s_rect& area, const s_rect& plot, const s_graph_settings& drawn,
                  const s_lcr_sweep& sweep, const s_lcr_bode_view& view, const s_drawn_axis& frequency,
                  const s_bode_plot& a, const s_bode_plot& b)
{
    const s_lcr_quantity_text* frequency_text = lcr_quantity_text(view.layout, 0);
    std::vector<s_readout_item> items;
    std::optional<int> frequency_point;
    for (const s_bode_plot* p : {&a, &b}) {
        const std::optional<int> index = cursor_point(sweep, p->plot == PLOT_A ? view.cursor_a : view.cursor_b);
        if (!drawn.cursor[p->plot] || !p->axis || !index) {
            continue;
        }
        const s_lcr_result& point = sweep.point[*index];
        draw_cursor_marker(surface, plot, drawn, point, frequency, *p);
        const std::uint32_t colour = plot_colour(drawn, p->plot);
        // The frequency is read out once, and again only for a second cursor
        // standing on another point.
        if (frequency_point != index) {
            items.push_back({readout_text(frequency_text->name, point.value[0], frequency_text->unit), colour});
            frequency_point = index;
        }
        items.push_back({readout_text(p->text->name, point.value[p->value], p->text->unit), colour});
    }
    draw_readout_row(surface, readout_left(area), readout_top(area, view.settings_hidden), items);
}

}  // namespace

s_rect lcr_bode_plot_rect(const s_rect& area, bool settings_hidden)
{
    return {area.left + plot_side_inset, area.top + plot_top_inset, area.right - plot_side_inset,
            area.bottom - (settings_hidden ? hidden_bottom_inset : plot_bottom_inset)};
}

void draw_lcr_bode(drawing_surface& surface, const s_rect& area, const s_graph_settings& settings,
                   const s_lcr_sweep& sweep, const s_lcr_bode_view& view)
{
    const s_rect plot = lcr_bode_plot_rect(area, view.settings_hidden);
    if (!plot_has_room(plot)) {
        return;
    }
    begin_impedance_graph(surface, plot, settings);
    const s_bode_plot a = bode_plot(settings, view, PLOT_A, plot.height());
    const s_bode_plot b = bode_plot(settings, view, PLOT_B, plot.height());
    draw_titles(surface, area, plot, settings, a, b);

    const std::optional<s_drawn_axis> frequency =
        drawn_axis(settings.x_axis_scale == AXIS_LOG, settings.x_min, settings.x_max, plot.width());
    if (!frequency) {
        return;
    }
    const s_grid_pens pens = impedance_grid_pens(settings);
    draw_frequency_axis(surface, plot, *frequency, pens);
    draw_value_axis(surface, plot, a, pens);
    draw_value_axis(surface, plot, b, pens);

    // The mapping reads the axis' start from the record: a logarithmic start
    // of 0 or below is drawn from 1e-6.
    s_graph_settings drawn = settings;
    drawn.x_min = frequency->min;
    for (const s_bode_plot* p : {&a, &b}) {
        if (p->axis) {
            draw_curve(surface, plot, drawn, sweep, *frequency, *p);
        }
    }
    draw_cursors(surface, area, plot, drawn, sweep, view, *frequency, a, b);
}
