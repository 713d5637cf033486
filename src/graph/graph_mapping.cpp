// Data values to pixel offsets on the impedance graphs.
#include "graph/graph_mapping.h"

#include <climits>
#include <cmath>

#include "fra/lcr_layout.h"
#include "graph/autoscale_padding.h"

namespace {

std::optional<double> drawn(double offset)
{
    if (!std::isfinite(offset)) {
        return std::nullopt;
    }
    return offset;
}

// log10(v / reference) * s; a value of 0 or below has no logarithm.
std::optional<double> log_offset(double v, double reference, double pixels_per_unit)
{
    if (!(v > 0)) {
        return std::nullopt;
    }
    return drawn(std::log10(v / reference) * pixels_per_unit);
}

std::optional<double> horizontal_offset(const s_graph_settings& g, double v, double pixels_per_unit)
{
    if (g.x_axis_scale == AXIS_LOG) {
        return log_offset(v, g.x_min, pixels_per_unit);
    }
    return drawn((v - g.x_min) * pixels_per_unit);
}

}  // namespace

std::optional<double> x_offset_of_frequency(const s_graph_settings& settings, const s_lcr_result& point,
                                            double pixels_per_unit)
{
    return horizontal_offset(settings, point.value[0], pixels_per_unit);
}

std::optional<double> y_offset_of_value(const s_graph_settings& settings, const s_lcr_result& point,
                                        double pixels_per_unit, int value_index, int plot)
{
    if ((plot != PLOT_A && plot != PLOT_B) || value_index < 0 || value_index >= LCR_RESULT_VALUES) {
        return std::nullopt;
    }
    if (value_index == 0) {
        return 0.0;
    }
    const double v = point.value[value_index];
    const double min = settings.min[plot];
    if (settings.axis_scale[plot] == AXIS_LOG) {
        return log_offset(v, min > 0 ? min : LOG_AXIS_LOWEST, pixels_per_unit);
    }
    return drawn((v - min) * pixels_per_unit);
}

std::optional<double> x_offset_of_real_z(const s_graph_settings& settings, const s_lcr_result& point,
                                         double pixels_per_unit, int layout)
{
    return horizontal_offset(settings, lcr_nyquist_pair(point, layout).real, pixels_per_unit);
}

std::optional<double> y_offset_of_imaginary_z(const s_graph_settings& settings, const s_lcr_result& point,
                                              double pixels_per_unit, int layout)
{
    return drawn((lcr_nyquist_pair(point, layout).imaginary - settings.min[PLOT_A]) * pixels_per_unit);
}

std::optional<int> pixel_of_offset(double offset)
{
    // Half away from zero, done by hand: some C runtimes' round() adds 0.5
    // and floors, which turns the largest double below 0.5 into 1. Taking the
    // whole part and comparing the exact remainder has no such error.
    double pixel = std::trunc(offset);
    if (std::fabs(offset - pixel) >= 0.5) {
        pixel += std::copysign(1.0, offset);
    }
    if (!(pixel >= static_cast<double>(INT_MIN) && pixel <= static_cast<double>(INT_MAX))) {
        return std::nullopt;
    }
    return static_cast<int>(pixel);
}
