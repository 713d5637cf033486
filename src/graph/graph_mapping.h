// Where a point of an impedance graph lands: its offset in pixels from the
// axis origin, given the pixels per unit the renderer computed (the axis
// length divided by the axis span, or by the log10 of the span's ratio).
//
// An offset is absent when the point cannot be drawn: on a logarithmic axis
// every value of 0 or below, and on any axis every non-finite result. The
// renderer skips such a point and the segments that join it.
#pragma once

#include <optional>

#include "fra/sweep_records.h"
#include "graph/graph_settings.h"

// Linear: (f - x_min) * s. Logarithmic: log10(f / x_min) * s.
std::optional<double> x_offset_of_frequency(const s_graph_settings& settings, const s_lcr_result& point,
                                            double pixels_per_unit);

// Value index 0 (no data) gives 0. Linear: (v - min[plot]) * s. Logarithmic:
// log10(v / m) * s with m = min[plot], or 1e-6 when min[plot] is 0 or below.
// A plot or value index that names no data gives no offset.
std::optional<double> y_offset_of_value(const s_graph_settings& settings, const s_lcr_result& point,
                                        double pixels_per_unit, int value_index, int plot);

// As x_offset_of_frequency with the point's Real Z' under the layout code.
std::optional<double> x_offset_of_real_z(const s_graph_settings& settings, const s_lcr_result& point,
                                         double pixels_per_unit, int layout);

// Always linear: (Imaginary Z - min[PLOT_A]) * s.
std::optional<double> y_offset_of_imaginary_z(const s_graph_settings& settings, const s_lcr_result& point,
                                              double pixels_per_unit, int layout);

// An offset as a whole pixel, rounded half away from zero; absent when the
// offset is not finite or its pixel lies outside the int range.
std::optional<int> pixel_of_offset(double offset);
