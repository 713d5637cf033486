// The generator monitor's picture: the title, the output status in its
// colour, the waveform, peak and frequency rows, the RMS line and the
// waveform sketch with its full-scale label, white and coloured on black.
// Every text comes from monitor_texts and the sketch from
// monitor_sketch_levels; this file only places and draws them.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "config/monitor_display.h"

struct s_monitor_drawn_text {
    std::string text;
    COLORREF colour;
};

// What one paint drew: its texts in drawing order, and the points of the
// waveform trace (0 when no full scale is known).
struct s_monitor_picture {
    std::vector<s_monitor_drawn_text> texts;
    int trace_points = 0;
};

// Draws the monitor over the whole of area in dc, first into a memory bitmap
// and then in one copy, so that a redraw never shows a half-drawn picture.
// Writes the debug line "# Refreshing Generator Monitor" with the local time.
s_monitor_picture monitor_paint(HDC dc, const RECT& area, const s_monitor_values& values, int instrument_type,
                                int current_option);
