#include "graph/drawn_axis.h"

#include <cmath>

namespace {

std::optional<s_drawn_axis> usable(const s_drawn_axis& axis)
{
    if (axis.length <= 0 || !std::isfinite(axis.pixels_per_unit) || axis.pixels_per_unit == 0) {
        return std::nullopt;
    }
    return axis;
}

}  // namespace

std::optional<double> s_drawn_axis::offset_of(double value) const
{
    double offset = 0;
    if (logarithmic) {
        if (!(value > 0)) {
            return std::nullopt;
        }
        offset = std::log10(value / min) * pixels_per_unit;
    } else {
        offset = (value - min) * pixels_per_unit;
    }
    if (!std::isfinite(offset)) {
        return std::nullopt;
    }
    return offset;
}

std::optional<s_drawn_axis> linear_drawn_axis(double min, double max, int length)
{
    if (!std::isfinite(min) || !std::isfinite(max)) {
        return std::nullopt;
    }
    return usable({false, min, max, length, length / (max - min)});
}

std::optional<s_drawn_axis> log_drawn_axis(double min, double max, int length, double lowest)
{
    if (!std::isfinite(min) || !std::isfinite(max) || !(max > 0) || !(lowest > 0)) {
        return std::nullopt;
    }
    const double start = min > 0 ? min : lowest;
    return usable({true, start, max, length, length / std::log10(max / start)});
}

std::optional<s_drawn_axis> drawn_axis(bool logarithmic, double min, double max, int length)
{
    return logarithmic ? log_drawn_axis(min, max, length) : linear_drawn_axis(min, max, length);
}
