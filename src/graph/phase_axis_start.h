// Where a phase axis of 360 degrees starts, by the instrument's phase
// convention (parameter 6): -180 for "-180 to 180" (0), -360 for "0 to -360"
// (1), 0 for "0 to +360" (2). Any other value reads as 0.
#pragma once

int phase_axis_start(int phase_convention);
