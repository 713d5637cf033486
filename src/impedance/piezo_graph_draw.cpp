#include "impedance/piezo_graph_draw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "graph/axis_marks.h"
#include "graph/axis_marks_draw.h"
#include "graph/clipped_curve.h"
#include "graph/colour_value.h"
#include "graph/decimal_scale.h"
#include "graph/drawn_axis.h"
#include "graph/frequency_axis.h"
#include "graph/graph_mapping.h"
#include "graph/graph_titles.h"
#include "graph/impedance_graph_parts.h"
#include "graph/number_format.h"
#include "graph/phase_axis_start.h"
#include "graph/plot_frame.h"
#include "impedance/piezo_graph_range.h"

namespace {

constexpr int plot_side_inset = 80;
constexpr int plot_top_inset = 10;
constexpr int plot_bottom_inset = 50;
constexpr int title_band_height = 20;
constexpr int side_title_inset = 20;
constexpr int outside_tick = 5;
constexpr int phase_divisions = 6;
constexpr int most_decades = 40;
constexpr int phase_step = 60;
constexpr double phase_span = 360;
constexpr int frequency_value = 0;
constexpr int impedance_value = 3;
constexpr int phase_value = 4;

constexpr std::uint32_t frequency_major_colour = rgb_colour(169, 169, 169);
constexpr std::uint32_t frequency_minor_colour = rgb_colour(85, 85, 85);
constexpr std::uint32_t impedance_decade_colour = rgb_colour(255, 150, 150);
constexpr std::uint32_t impedance_line_colour = rgb_colour(150, 60, 60);
constexpr std::uint32_t phase_line_colour = rgb_colour(150, 150, 255);
constexpr std::uint32_t impedance_title_colour = rgb_colour(250, 0, 0);
constexpr std::uint32_t phase_title_colour = rgb_colour(0, 0, 200);
constexpr std::uint32_t impedance_curve_colour = rgb_colour(255, 0, 0);
constexpr std::uint32_t phase_curve_colour = rgb_colour(0, 0, 255);

// What the view and the report picture draw differently.
struct s_piezo_form {
    brush_kind background;
    font_direction impedance_title;
    int impedance_title_inset;   // from the area's left
    font_direction phase_title;  // at the area's right less side_title_inset
    int curve_width;
    int right_cut;               // the curves stop this far left of the plot's right edge
    double lowest_impedance;     // the axis' start when the range's is 0 or below
};

constexpr s_piezo_form view_form{brush_kind::black, font_direction::down, 20, font_direction::up, 1, 0, 0.001};
constexpr s_piezo_form picture_form{brush_kind::white, font_direction::up, 15, font_direction::down, 2, 2, 1.0};

void draw_side_title(drawing_surface& surface, font_direction direction, int x, const s_rect& plot,
                     const char* text, std::uint32_t colour)
{
    if (direction == font_direction::down) {
        draw_downward_title(surface, x, plot.top, plot.bottom, text, colour);
    } else {
        draw_upward_title(surface, x, plot.top, plot.bottom, text, colour);
    }
}

void draw_titles(drawing_surface& surface, const s_rect& area, const s_rect& plot, const s_piezo_form& form)
{
    draw_centred_title(surface, {plot.left, area.bottom - title_band_height, plot.right, area.bottom},
                       "FREQUENCY (Hz)");
    draw_side_title(surface, form.impedance_title, area.left + form.impedance_title_inset, plot, "IMPEDANCE (ohms)",
                    impedance_title_colour);
    draw_side_title(surface, form.phase_title, area.right - side_title_inset, plot, "PHASE (\xB0)",
                    phase_title_colour);
    surface.set_text_colour(COLOUR_BLACK);
}

// A horizontal line at y from from_x to to_x.
void draw_edge_line(drawing_surface& surface, int from_x, int to_x, int y, const s_pen& pen)
{
    surface.select_pen(pen);
    surface.move_to(from_x, y);
    surface.line_to(to_x, y);
}

// Every k x 10^e (k = 1 to 9) on the axis, from the decade below the range's
// start, each drawn as a line from the left edge whose reach and pen follow
// the display option; decades labelled, and every odd k too when the range
// spans a decade or less.
void draw_impedance_axis(drawing_surface& surface, const s_rect& plot, const s_drawn_axis& axis, int option)
{
    const int w = plot.width();
    const bool narrow = std::log10(axis.high() / axis.low()) <= 1;
    const int first = log_decade(axis.low()) - 1;
    const int last = std::min(log_decade(axis.high()), first + most_decades);
    for (int e = first; e <= last; ++e) {
        for (int k = 1; k <= 9; ++k) {
            const double v = scale_by_power_of_ten(k, e);
            if (v > axis.high()) {
                break;
            }
            const std::optional<double> offset = axis.offset_of(v);
            if (!offset || *offset < 0 || *offset > plot.height()) {
                continue;
            }
            const int y = plot.bottom - pixel_of_offset(*offset).value_or(0);
            const bool decade = k == 1;
            const int width = option == PIEZO_LINES_TICKS ? (decade ? 3 : 2) : (decade ? 2 : 1);
            const s_pen pen{pen_style::solid, width, decade ? impedance_decade_colour : impedance_line_colour};
            if (option == PIEZO_LINES_TICKS) {
                draw_edge_line(surface, plot.left - outside_tick, plot.left, y, pen);
            } else {
                const int reach = decade ? (option == PIEZO_LINES_ACROSS ? w : w / 10) : w / 100 * k;
                draw_edge_line(surface, plot.left, plot.left + reach, y, pen);
            }
            if (decade || (narrow && k % 2 == 1)) {
                surface.text_in_rect(format_eng_text(v), value_label_box(plot, axis_side::left, y), text_align::right,
                                     text_lines::single_centred);
            }
        }
    }
}

// Seven labels 60 degrees apart from the phase start, each with a line from
// the right edge leftwards whose reach follows the display option.
void draw_phase_axis(drawing_surface& surface, const s_rect& plot, int start, int option)
{
    const int w = plot.width();
    const s_pen pen{pen_style::solid, option == PIEZO_LINES_TICKS ? 2 : 1, phase_line_colour};
    for (int j = 0; j <= phase_divisions; ++j) {
        const int y = plot.bottom - plot.height() * j / phase_divisions;
        if (option == PIEZO_LINES_TICKS) {
            draw_edge_line(surface, plot.right + outside_tick, plot.right, y, pen);
        } else {
            draw_edge_line(surface, plot.right, plot.right - (option == PIEZO_LINES_ACROSS ? w : w / 10), y, pen);
        }
        surface.text_in_rect(std::to_string(start + phase_step * j), value_label_box(plot, axis_side::right, y),
                             text_align::left, text_lines::single_centred);
    }
}

void draw_curve(drawing_surface& surface, const s_rect& plot, const s_lcr_sweep& sweep, const s_piezo_form& form,
                const s_drawn_axis& frequency, const s_drawn_axis& values, int value, std::uint32_t colour)
{
    surface.select_pen({pen_style::solid, form.curve_width, colour});
    // The curve stops at the right edge (less the form's cut) and every
    // point is held to the plot's height.
    clipped_curve curve(surface, plot, 0, plot.width() - form.right_cut);
    const double top = plot.height();
    const int points = drawn_points(sweep);
    for (int i = 0; i < points; ++i) {
        const s_lcr_result& p = sweep.point[i];
        const std::optional<double> y = values.offset_of(p.value[value]);
        curve.add(plot_offset(frequency.offset_of(p.value[frequency_value]),
                              y ? std::optional<double>(std::clamp(*y, 0.0, top)) : std::nullopt));
    }
}

int display_option(int option)
{
    return std::clamp(option, PIEZO_LINES_TICKS, PIEZO_LINES_ACROSS);
}

void draw_piezo(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep, const s_piezo_grid& grid,
                const s_piezo_form& form)
{
    const s_rect plot = piezo_plot_rect(area);
    if (!plot_has_room(plot)) {
        return;
    }
    draw_plot_frame(surface, plot, s_brush{form.background, 0});
    surface.set_transparent_text(true);
    surface.select_font(s_font{});
    surface.set_text_colour(COLOUR_BLACK);
    draw_titles(surface, area, plot, form);

    const s_piezo_graph_range range = piezo_graph_range(sweep);
    if (!range.found) {
        return;
    }
    const std::optional<s_drawn_axis> impedance =
        log_drawn_axis(range.impedance_min, range.impedance_max, plot.height(), form.lowest_impedance);
    const std::optional<s_drawn_axis> frequency =
        log_drawn_axis(range.frequency_min, range.frequency_max, plot.width());
    const int phase_start = phase_axis_start(sweep.phase_convention);
    const std::optional<s_drawn_axis> phase = linear_drawn_axis(phase_start, phase_start + phase_span, plot.height());
    if (!impedance || !frequency || !phase) {
        return;
    }
    draw_impedance_axis(surface, plot, *impedance, display_option(grid.impedance_lines));
    draw_phase_axis(surface, plot, phase_start, display_option(grid.phase_lines));
    const s_grid_pens frequency_pens{{pen_style::solid, 2, frequency_major_colour},
                                     {pen_style::solid, 1, frequency_minor_colour}};
    draw_horizontal_axis_marks(surface, plot, log_axis_marks(*frequency, frequency_label), frequency_pens,
                               horizontal_labels::from_line);

    draw_curve(surface, plot, sweep, form, *frequency, *impedance, impedance_value, impedance_curve_colour);
    draw_curve(surface, plot, sweep, form, *frequency, *phase, phase_value, phase_curve_colour);
}

}  // namespace

s_rect piezo_plot_rect(const s_rect& area)
{
    return {area.left + plot_side_inset, area.top + plot_top_inset, area.right - plot_side_inset,
            area.bottom - plot_bottom_inset};
}

void draw_piezo_graph(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep,
                      const s_piezo_grid& grid)
{
    draw_piezo(surface, area, sweep, grid, view_form);
}

void draw_piezo_graph_picture(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep,
                              const s_piezo_grid& grid)
{
    draw_piezo(surface, area, sweep, grid, picture_form);
}
