// Automatic ranges of the impedance graphs. The fixed start values and the
// sides each pad type pads differ by axis; see autoscale_padding.h for the
// shared steps.
#include "graph/autoscale_impedance.h"

#include <algorithm>

#include "fra/lcr_layout.h"
#include "graph/autoscale_padding.h"

namespace {

// Start values of each search: the minimum starts high, the maximum low.
constexpr s_axis_ends PLOT_AXIS_START{1e5, -5e4};
constexpr s_axis_ends FREQUENCY_AXIS_START{1e9, -1e9};
constexpr s_axis_ends REAL_Z_AXIS_START{1e5, -1e5};
constexpr s_axis_ends IMAGINARY_Z_AXIS_START{100, -100};

int points_of(const s_lcr_sweep& sweep)
{
    return std::clamp(sweep.points, 0, SWEEP_MAX_POINTS);
}

s_axis_padding plot_padding(const s_graph_settings& g, int plot)
{
    return {g.pad_type[plot], g.pad_value[plot], g.pad_percent[plot]};
}

s_axis_padding horizontal_padding(const s_graph_settings& g)
{
    return {g.x_pad_type, g.x_pad_value, g.x_pad_percent};
}

// The horizontal steps shared by the frequency and Real Z' axes, after the
// search: widen the maximum alone, centre, pad, lift a logarithmic minimum.
void finish_horizontal(const s_graph_settings& g, s_axis_ends& ends)
{
    widen_flat_span(ends, false);
    centre_and_pad(ends, g.x_range, horizontal_padding(g), pad_orientation::horizontal);
    if (ends.low <= 0 && g.x_axis_scale == AXIS_LOG) {
        ends.low = LOG_AXIS_LOWEST;
    }
}

}  // namespace

bool autoscale_plot_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int plot, int value_index)
{
    if ((plot != PLOT_A && plot != PLOT_B) || value_index < 1 || value_index >= LCR_RESULT_VALUES ||
        settings.range[plot] == RANGE_MANUAL) {
        return false;
    }
    s_axis_ends ends = PLOT_AXIS_START;
    const auto value_of = [&](int i) { return sweep.point[i].value[value_index]; };
    if (!search_extremes(points_of(sweep), value_of, ends)) {
        return false;
    }
    widen_flat_span(ends, true);
    if (settings.axis_scale[plot] == AXIS_LOG) {
        store_axis_ends(ends, false, settings.min[plot], settings.max[plot]);
        return true;
    }
    centre_and_pad(ends, settings.range[plot], plot_padding(settings, plot), pad_orientation::vertical);
    store_axis_ends(ends, settings.range_flip[plot], settings.min[plot], settings.max[plot]);
    return true;
}

bool autoscale_frequency_axis(s_graph_settings& settings, const s_lcr_sweep& sweep)
{
    if (settings.x_range == RANGE_MANUAL) {
        return false;
    }
    s_axis_ends ends = FREQUENCY_AXIS_START;
    const auto value_of = [&](int i) { return sweep.point[i].value[0]; };
    if (!search_extremes(points_of(sweep), value_of, ends)) {
        return false;
    }
    finish_horizontal(settings, ends);
    store_axis_ends(ends, settings.x_range_flip, settings.x_min, settings.x_max);
    return true;
}

bool autoscale_nyquist_real_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int layout)
{
    if (settings.x_range == RANGE_MANUAL) {
        return false;
    }
    s_axis_ends ends = REAL_Z_AXIS_START;
    const auto value_of = [&](int i) { return lcr_nyquist_pair(sweep.point[i], layout).real; };
    if (!search_extremes(points_of(sweep), value_of, ends)) {
        return false;
    }
    finish_horizontal(settings, ends);
    // Wholly negative resistances read from right to left, like the arc of
    // a positive one.
    const bool reversed = settings.x_range_flip || (ends.low < 0 && ends.high < 0);
    store_axis_ends(ends, reversed, settings.x_min, settings.x_max);
    return true;
}

bool autoscale_nyquist_imaginary_axis(s_graph_settings& settings, const s_lcr_sweep& sweep, int layout)
{
    if (settings.range[PLOT_A] == RANGE_MANUAL) {
        return false;
    }
    s_axis_ends ends = IMAGINARY_Z_AXIS_START;
    const auto value_of = [&](int i) { return lcr_nyquist_pair(sweep.point[i], layout).imaginary; };
    if (!search_extremes(points_of(sweep), value_of, ends)) {
        return false;
    }
    widen_flat_span(ends, true);
    centre_and_pad(ends, settings.range[PLOT_A], plot_padding(settings, PLOT_A), pad_orientation::vertical);
    store_axis_ends(ends, settings.range_flip[PLOT_A], settings.min[PLOT_A], settings.max[PLOT_A]);
    return true;
}

s_bode_rescale rescale_lcr_bode_graph(s_graph_settings& settings, const s_lcr_sweep& sweep, int plot_a_value,
                                      int plot_b_value)
{
    autoscale_frequency_axis(settings, sweep);
    autoscale_plot_axis(settings, sweep, PLOT_A, plot_a_value);
    if (plot_b_value != 0) {
        autoscale_plot_axis(settings, sweep, PLOT_B, plot_b_value);
    }
    return {0};
}
