// A single impedance reading ("lcr?"): 11 or 14 values, what they hold by
// the reading format code, and how a real-time sweep turns a reading into
// the next point of an LCR block.
//
// An 11-value reading: frequency, magnitude 1, magnitude 2, impedance, phase,
// resistance, reactance, admittance, admittance phase, conductance,
// susceptance. A 14-value reading: frequency, magnitude 1, magnitude 2,
// impedance, phase, series R, L, C, parallel R, L, C, tan delta, Q, reactance.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "fra/sweep_records.h"

inline constexpr int LCR_READING_VALUES = 14;
inline constexpr int LCR_SHORT_READING_VALUES = 11;

// Program-wide: what the last "lcr?" reply held (1 to 8; 0 before any).
std::atomic<int>& lcr_reading_kind();

// Where a reading was taken: a live reading or a point of a real-time sweep.
enum class lcr_reading_source { live, realtime_point };

// The kind of a reply of `count` values from an instrument of the given
// type; 0 when the combination is not one the instrument gives (the kind
// then stays as it was).
//   type 7:              11 -> 1, 14 -> 2
//   type 9, live:        11 -> 1, 14 -> 5
//   type 9, sweep point: 11 -> 4, 14 -> 5
int lcr_reading_kind_for(int instrument_type, int count, lcr_reading_source source);

// Values shown or logged for a reading of this kind: 14 for kinds 2 and 5,
// 8 for 3, 13 for 6, 5 for 7 and 8, 11 otherwise.
int lcr_reading_value_count(int kind);

// The names under which a reading of this kind is shown, one per value.
std::vector<std::string> lcr_reading_value_names(int kind);

// Appends reading (x0 ... x13) as point number `points` of block, zeroed
// first; points grows by one whatever the kind, and layout is set by it:
//   kind 1                        layout 8: x0, x9, x10, x7, x8
//   kind 4, measured quantity 4   layout 8: x0, x9, x10, x7, x8
//   kind 4, any other quantity    layout 7: x0, x5, x6, x3, x4
//   kinds 2 and 5, parallel       layout 1: x0, x12, x11, x3, x4, x9, x10, x8
//   kinds 2 and 5, series         layout 1: x0, x12, x11, x3, x4, x6, x7, x5
//   any other kind                layout unchanged, the point stays zero
// measured_quantity is parameter 137, equivalent_circuit parameter 138
// (1 parallel, 0 series). A full block is left as it is (false).
bool append_lcr_reading(const double (&reading)[LCR_READING_VALUES], int kind, int measured_quantity,
                        int equivalent_circuit, s_lcr_sweep& block, int& layout);
