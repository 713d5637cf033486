// The slope read-out of the FRA view's cursors ("Slope: %.1lf dB/Decade").
#pragma once

#include "fra/sweep_records.h"

// The gain slope in dB per decade at point index of the sweep, taken from the
// point before to the point after (the point itself at the last point). 0 at
// the first point, at an index outside the sweep, and when the two
// frequencies are equal or their ratio is not positive.
double cursor_slope(const s_fra_sweep& sweep, int index);
