// The frequency axis of the test graph (and of the graphs that share its
// logarithmic axis): where a frequency lands on the plot, and the grid lines
// and labels along it.
//
// Logarithmic axes place a line at every k x 10^d (k = 1 to 9) within the
// range, the decades (k = 1) as major lines with labels; a range of less
// than one decade instead gets up to 10 labelled lines at the multiples of
// 10^floor(log10(min)) above the minimum, or labels at its two ends when none
// falls inside. Decades are found with floor(log10(v) + 1e-13) and values
// computed as k x 10^d, never by adding steps; at most 40 decades are walked.
// Linear axes step by 10^floor(log10(span)), a sixth of that when fewer than
// 4 steps fit.
#pragma once

#include <optional>
#include <string>
#include <vector>

// How a frequency range maps onto a plot width; absent when the range cannot
// be drawn (a span that is not finite or not above 0).
struct s_frequency_scale {
    bool log = true;
    double minimum = 0;  // Hz; a logarithmic minimum of 0 or below is taken as 1e-6
    double maximum = 0;
    double pixels_per_unit = 0;  // per decade (logarithmic) or per hertz

    // Pixels from the plot's left edge; absent for a frequency the axis cannot
    // show (0 or below, or not finite, on a logarithmic axis).
    std::optional<double> offset(double frequency) const;
};

std::optional<s_frequency_scale> frequency_scale(double minimum, double maximum, bool log, int width);

struct s_frequency_tick {
    double value = 0;  // Hz
    int x = 0;         // pixels from the plot's left edge
    bool line = false;   // a grid line is drawn here (strictly inside the plot)
    bool major = false;  // with the major pen
    std::string label;   // "" for none
};

std::vector<s_frequency_tick> frequency_ticks(const s_frequency_scale& scale, int width);

// A frequency axis label: format_eng for values whose decade is below 0
// (under 1 Hz), the compact label form (4k7) for the rest.
std::string frequency_label(double value);

// The decade of a positive value, floor(log10(v) + 1e-13): a value that
// log10 puts a hair below a power of ten counts in that power's decade.
int log_decade(double value);
