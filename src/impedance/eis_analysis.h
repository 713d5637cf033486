// The EIS analysis: reads an impedance sweep's Nyquist arc as a Randles cell,
// a series resistance Rs followed by a resistance Rp in parallel with a
// capacitance Cp. The arc's left end on the real axis gives Rs, its right end
// Rs + Rp, and the frequency at its top gives Cp.
//
// The scan walks the sweep from its high-frequency end. It takes the smallest
// Z' as the arc's start, the largest |Z''| after it as the arc's top, and
// accepts the arc's end once |Z''| has fallen far enough below the top
// (sensitivity) while the slope over a window of points (smoothing) rises.
// A sweep recorded from low to high frequency and the same sweep recorded
// from high to low give the same values; only the indices are mirrored.
//
// Everything here is a pure function of the block, the layout code and the
// tuning; the EIS view holds one eis_state and shows its texts.
#pragma once

#include "fra/sweep_records.h"

// Tuning, held as fractions 0 to 1 (shown in percent).
struct eis_tuning {
    double smoothing;    // window of the slope, as a fraction of the points
    double sensitivity;  // how far |Z''| must fall from the top, 0 to 1
};

inline constexpr double EIS_DEFAULT_SMOOTHING = 0.05;
inline constexpr double EIS_DEFAULT_SENSITIVITY = 0.12;
inline constexpr eis_tuning EIS_DEFAULT_TUNING = {EIS_DEFAULT_SMOOTHING, EIS_DEFAULT_SENSITIVITY};

// The results. The first ten fields are the analysis's values, in the order
// the reports know them; the three flags beside them tell the Nyquist graph
// which of the three indices name a point it can mark (an index of 0 is also
// a real point: the high-frequency end of a descending sweep).
struct eis_result {
    int min_real_index;     // point of the smallest Z'
    int arc_end_index;      // point that marks the end of the arc
    int peak_index;         // point of the largest |Z''|
    double min_real;        // Ohms, smallest Z'
    double max_real;        // Ohms, Z' at the end of the arc
    double max_imaginary;   // Ohms, Z'' at the peak, with its sign
    double peak_frequency;  // Hz, f at the peak
    double rs;              // Ohms, min_real
    double rp;              // Ohms, max_real - min_real
    double cp;              // F, 1 / (2 pi peak_frequency rp), 0 when that has no meaning
    bool min_real_found;    // a point's Z' was below the scan's start value (1e10)
    bool arc_end_found;     // arc_end_index names the point that ended the arc
    bool peak_found;        // a point rose above the arc's start: peak_index is real
};

// What the EIS view holds: the tuning, the last results, and whether they
// are shown (false after a reset: the three result fields are empty).
struct eis_state {
    eis_tuning tuning = EIS_DEFAULT_TUNING;
    eis_result result{};
    bool calculated = false;
};

// The scan of a block with the given tuning. Fewer than 2 points (or a point
// count outside the block) give a zeroed result. Values that are not numbers
// never stop the scan: they simply fail every comparison.
eis_result eis_scan(const s_lcr_sweep& sweep, int layout, const eis_tuning& tuning);

// Zeroes the results, restores the default tuning and empties the shown
// fields: done when LCR data is imported, when the views are cleared, and by
// eis_calculate for a block of fewer than 2 points.
void eis_reset(eis_state& state);

// "CALCULATE": the scan of the block with the state's tuning into its results.
void eis_calculate(eis_state& state, const s_lcr_sweep& sweep, int layout);
