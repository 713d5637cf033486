// Drawing an axis' marks: grid lines across the plot and labels beside it.
// Labels are drawn in the text colour and font in force.
#pragma once

#include <vector>

#include "graph/axis_marks.h"
#include "graph/drawing_surface.h"

// The pens of an axis' grid lines.
struct s_grid_pens {
    s_pen major;  // decade lines
    s_pen minor;
};

// How the labels of a horizontal axis sit below the plot: a logarithmic
// axis' labels start just left of their line (the box from x - 8 to x + 45),
// a linear axis' are centred under it; both 5 to 25 pixels below the plot.
enum class horizontal_labels { from_line, centred };

// Vertical grid lines over the plot's full height at each mark, and the labels.
void draw_horizontal_axis_marks(drawing_surface& surface, const s_rect& plot, const std::vector<s_axis_mark>& marks,
                                const s_grid_pens& pens, horizontal_labels labels);

// Which side of the plot a value axis labels: the left labels are right-
// aligned in the box from 60 to 10 pixels left of the plot, the right ones
// left-aligned from 10 to 60 pixels right of it, each 20 pixels high around
// its line.
enum class axis_side { left, right };

// Horizontal grid lines at each mark from grid_left to the plot's right
// edge, and the labels.
void draw_vertical_axis_marks(drawing_surface& surface, const s_rect& plot, const std::vector<s_axis_mark>& marks,
                              const s_grid_pens& pens, axis_side side, int grid_left);

// The label box of a value axis at height y.
s_rect value_label_box(const s_rect& plot, axis_side side, int y);
