// The generator monitor's waveform sketch: the shape a waveform name stands
// for, and the output's level across two periods as fractions of the
// sketch's full scale. The Win32 monitor control draws these levels; the
// sums live here so that they are the same wherever a sketch is drawn.
#pragma once

#include <vector>

#include "config/monitor_display.h"

enum class monitor_shape {
    sine,
    square,
    triangle,
    rising_saw,   // ramps up, then drops: "Sawtooth", "Trail Saw"
    falling_saw,  // jumps up, then ramps down: "Lead Saw"
    pulse,        // high for a fifth of the period
    noise,
};

// The shape a waveform name (as monitor_waveform_name gives it, padded or
// not) draws; sine for a name it does not know, or null.
monitor_shape monitor_shape_of(const char* waveform_name);

// count levels evenly spread over two periods of the output, first and last
// included, each the output voltage over the sketch's full scale
// (monitor_full_scale) and held to -1..1: 0 throughout while the output is
// off (state 0), the offset alone for DC only (state 2), otherwise the
// offset plus peak / D times the shape, D 2 when the device flag halves the
// output. Noise is the same pseudo-random run every time, so a redraw does
// not flicker. Empty when no full scale is known or count is below 2.
std::vector<double> monitor_sketch_levels(const s_monitor_values& values, monitor_shape shape, int count);
