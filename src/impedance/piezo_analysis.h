// The piezo analysis: reads an impedance sweep of a piezoelectric resonator
// as its Butterworth-Van Dyke equivalent circuit, a motional branch of R, L
// and C in series, in parallel with the plate capacitance Cp.
//
// The resonance is the smallest |Z| of the sweep, the anti-resonance the
// largest |Z| that follows it towards higher frequencies. From the two
// frequencies (wr, wa) and the two impedances:
//   R  = |Z|min
//   Cp = 1 / (sqrt(R |Z|max) wa)
//   C  = (wa^2 / wr^2 - 1) Cp
//   L  = 1 / (wr^2 C)
// The points are always taken in ascending frequency: a sweep recorded from
// high to low frequency gives the same values as the same sweep recorded
// from low to high.
//
// Everything here is a pure function of the block (and its layout code); the
// Piezo view holds one piezo_result and shows its texts (piezo_texts.h).
#pragma once

#include <string>

#include "fra/sweep_records.h"

// The results, eight doubles in the order the reports know them.
struct piezo_result {
    double z_min;  // Ohms, smallest |Z|
    double z_max;  // Ohms, largest |Z| at or after the point of z_min
    double w_r;    // rad/s, 2 pi x the frequency of z_min
    double w_a;    // rad/s, 2 pi x the frequency of the last maximum taken
    double r;      // Ohms, motional resistance
    double c_p;    // F, plate capacitance
    double c;      // F, motional capacitance
    double l;      // H, motional inductance
};

// The start values: z_min and w_r at 2147483647, everything else 0.
piezo_result piezo_start_values();

// Sets the results to their start values. The view empties its four result
// fields at the same time (an empty s_piezo_texts).
void piezo_reset(piezo_result& result);

// The scan of the block's points (value 0 the frequency, value 3 |Z|) in
// ascending frequency (reversed when f(0) > f(n-1)):
//   - a |Z| below z_min is a new minimum: z_min and w_r take it, and the
//     maximum restarts from it (z_max = |Z|);
//   - then a |Z| above z_max is a new maximum: z_max and w_a take it.
// w_a keeps the frequency of the last maximum taken, which lies before the
// final minimum when no later point rises above it. Both frequencies are
// then turned into rad/s and R, Cp, C and L derived as above; nothing is
// guarded, so degenerate data give 0 or non-finite values (a sweep that only
// falls leaves w_a at 0 and Cp infinite). A point count outside 0 to
// SWEEP_MAX_POINTS reads as an empty block. Values that are not numbers never
// stop the scan: they fail every comparison.
void piezo_calculate(const s_lcr_sweep& block, piezo_result& result);

// Why a block of this layout code cannot be analysed, or nullptr when it can.
// Only an admittance block (code 8) is refused: its value 3 is |Y|, whose
// minimum is the anti-resonance.
const char* piezo_layout_refusal(int layout);

// "CALCULATE" as the view and the command-line tool run it: the results of
// the block, or, for a layout the analysis refuses, the start values and the
// message to show.
struct s_piezo_outcome {
    bool accepted;
    piezo_result result;
    std::string refusal;  // empty when accepted
};
s_piezo_outcome piezo_analyse(const s_lcr_sweep& block, int layout);
