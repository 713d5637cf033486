#include "graph/axis_marks_draw.h"

namespace {

constexpr int label_top_gap = 5;
constexpr int label_bottom_gap = 25;
constexpr int log_label_before = 8;
constexpr int log_label_after = 45;
constexpr int centred_label_half_width = 40;
constexpr int value_label_near = 10;
constexpr int value_label_far = 60;
constexpr int value_label_half_height = 10;

const s_pen& pen_of(const s_grid_pens& pens, grid_line line)
{
    return line == grid_line::major ? pens.major : pens.minor;
}

}  // namespace

void draw_horizontal_axis_marks(drawing_surface& surface, const s_rect& plot, const std::vector<s_axis_mark>& marks,
                                const s_grid_pens& pens, horizontal_labels labels)
{
    for (const s_axis_mark& mark : marks) {
        const int x = plot.left + mark.pixel;
        if (mark.line != grid_line::none) {
            surface.select_pen(pen_of(pens, mark.line));
            surface.move_to(x, plot.top);
            surface.line_to(x, plot.bottom);
        }
        if (!mark.labelled) {
            continue;
        }
        const s_rect box = labels == horizontal_labels::from_line
                               ? s_rect{x - log_label_before, plot.bottom + label_top_gap, x + log_label_after,
                                        plot.bottom + label_bottom_gap}
                               : s_rect{x - centred_label_half_width, plot.bottom + label_top_gap,
                                        x + centred_label_half_width, plot.bottom + label_bottom_gap};
        surface.text_in_rect(mark.label, box,
                             labels == horizontal_labels::from_line ? text_align::left : text_align::centre,
                             text_lines::single_centred);
    }
}

s_rect value_label_box(const s_rect& plot, axis_side side, int y)
{
    if (side == axis_side::left) {
        return {plot.left - value_label_far, y - value_label_half_height, plot.left - value_label_near,
                y + value_label_half_height};
    }
    return {plot.right + value_label_near, y - value_label_half_height, plot.right + value_label_far,
            y + value_label_half_height};
}

void draw_vertical_axis_marks(drawing_surface& surface, const s_rect& plot, const std::vector<s_axis_mark>& marks,
                              const s_grid_pens& pens, axis_side side, int grid_left)
{
    for (const s_axis_mark& mark : marks) {
        const int y = plot.bottom - mark.pixel;
        if (mark.line != grid_line::none) {
            surface.select_pen(pen_of(pens, mark.line));
            surface.move_to(grid_left, y);
            surface.line_to(plot.right, y);
        }
        if (mark.labelled) {
            surface.text_in_rect(mark.label, value_label_box(plot, side, y),
                                 side == axis_side::left ? text_align::right : text_align::left,
                                 text_lines::single_centred);
        }
    }
}
