#include "graph/axis_marks.h"

#include <cmath>

#include "graph/frequency_axis.h"

namespace {

// Under a decade the ticks are the multiples of the start's decade.
constexpr double decade_nudge = 1e-13;

}  // namespace

std::vector<s_axis_mark> log_axis_marks(const s_drawn_axis& axis, axis_label_writer label_text)
{
    std::vector<s_axis_mark> marks;
    // The ticks of the axis read from its lower end; a reversed axis has them
    // mirrored.
    const std::optional<s_frequency_scale> scale = frequency_scale(axis.low(), axis.high(), true, axis.length);
    if (!scale) {
        return marks;
    }
    const std::vector<s_frequency_tick> ticks = frequency_ticks(*scale, axis.length);
    const bool reversed = axis.max < axis.min;
    const bool multiples = std::log10(scale->maximum / scale->minimum) < 1 - decade_nudge;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        const s_frequency_tick& tick = ticks[i];
        const bool major = multiples ? i == 0 || i + 1 == ticks.size() : tick.major;
        const grid_line line = !tick.line ? grid_line::none : major ? grid_line::major : grid_line::minor;
        const bool labelled = !tick.label.empty();
        marks.push_back({reversed ? axis.length - tick.x : tick.x, line, labelled,
                         labelled ? label_text(tick.value) : std::string()});
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
