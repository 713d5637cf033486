#include "graph/axis_marks.h"

#include <algorithm>
#include <cmath>

#include "graph/graph_mapping.h"
#include "graph/log_axis_ticks.h"

namespace {

// The pixel of a value when it lies on the axis (half a pixel of rounding
// allowed at either end).
std::optional<int> pixel_on_axis(const s_drawn_axis& axis, double value)
{
    const std::optional<double> offset = axis.offset_of(value);
    if (!offset || *offset < -0.5 || *offset > axis.length + 0.5) {
        return std::nullopt;
    }
    const std::optional<int> pixel = pixel_of_offset(*offset);
    if (!pixel) {
        return std::nullopt;
    }
    return std::clamp(*pixel, 0, axis.length);
}

grid_line line_of(const s_log_tick& tick, bool first_multiple, bool last_multiple)
{
    switch (tick.kind) {
    case log_tick_kind::decade:
        return grid_line::major;
    case log_tick_kind::sub_decade:
        return grid_line::minor;
    case log_tick_kind::multiple:
        return first_multiple || last_multiple ? grid_line::major : grid_line::minor;
    case log_tick_kind::end_label:
        break;
    }
    return grid_line::none;
}

}  // namespace

std::vector<s_axis_mark> log_axis_marks(const s_drawn_axis& axis, axis_label_writer label_text)
{
    std::vector<s_axis_mark> marks;
    const std::vector<s_log_tick> ticks = log_axis_ticks(axis.low(), axis.high());
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const s_log_tick& tick = ticks[i];
        const std::optional<int> pixel = pixel_on_axis(axis, tick.value);
        if (!pixel) {
            continue;
        }
        grid_line line = line_of(tick, i == 0, i + 1 == ticks.size());
        if (line == grid_line::minor && (*pixel <= 0 || *pixel >= axis.length)) {
            line = grid_line::none;
        }
        marks.push_back({*pixel, line, tick.labelled, tick.labelled ? label_text(tick.value) : std::string()});
    }
    return marks;
}

std::vector<s_axis_mark> linear_axis_marks(const s_drawn_axis& axis, int divisions, linear_label_writer label_text)
{
    std::vector<s_axis_mark> marks;
    if (divisions <= 0) {
        return marks;
    }
    const double span = axis.max - axis.min;
    for (int j = 0; j <= divisions; ++j) {
        const int pixel = static_cast<int>(static_cast<long long>(axis.length) * j / divisions);
        const double value = axis.min + span / divisions * j;
        const bool inside = j > 0 && j < divisions;
        marks.push_back({pixel, inside ? grid_line::minor : grid_line::none, true, label_text(value, span)});
    }
    return marks;
}
