// The grid lines and labels of one axis, as pixel offsets from the axis'
// origin: what the graphs draw across or along their plots.
#pragma once

#include <string>
#include <vector>

#include "graph/drawn_axis.h"

enum class grid_line { none, major, minor };

struct s_axis_mark {
    int pixel;          // offset from the origin, 0 to the axis' length
    grid_line line;     // the pen of its grid line, if it has one
    bool labelled;
    std::string label;
};

// A logarithmic axis, with the lines and labels of the frequency axis
// (frequency_axis.h) on any axis, reversed ones too: decades are major
// lines, sub-decades minor ones, lines only strictly inside the axis; of the
// multiples of a range under a decade the first and the last are major
// lines, the others minor. label_text writes each label.
using axis_label_writer = std::string (*)(double value);
std::vector<s_axis_mark> log_axis_marks(const s_drawn_axis& axis, axis_label_writer label_text);

// A linear axis of `divisions` equal parts: a label at every division
// (min + (max - min) / divisions x j, j = 0 to divisions) and a minor grid
// line at every division strictly inside. label_text gets the value and the
// axis' span (max - min).
using linear_label_writer = std::string (*)(double value, double span);
std::vector<s_axis_mark> linear_axis_marks(const s_drawn_axis& axis, int divisions, linear_label_writer label_text);
