// The text of the single-sweep exports (the FRA sweep, the LCR sweep and the
// EIS sweep with its two Nyquist columns) and of the stored-test export:
// whole files as Windows-1252 bytes with CR LF line ends, the last row
// without one. Rows are the step number (from 1), then for each column a
// tab and the cell.
#pragma once

#include <string>

#include "export/export_cells.h"
#include "fra/sweep_records.h"

struct s_db_test;

// preamble: export_preamble_text(...); rows follow "data start sweep 1" and
// the header of the sweep's column set (three channels when the sweep
// records a three-channel sweep of a type-9 instrument).
std::string fra_sweep_export_text(const s_fra_sweep& sweep, const std::string& preamble,
                                  const s_export_format& format);
// The column set by the LCR result layout code; with eis the Real Z' and
// Imaginary Z'' columns of each point follow.
std::string lcr_sweep_export_text(const s_lcr_sweep& sweep, int layout, bool eis, const std::string& preamble,
                                  const s_export_format& format);

// A stored test: the header, then step, frequency, gain and phase per point,
// in the order the test holds them. No preamble and never an apostrophe.
std::string test_export_text(const s_db_test& test, const s_export_punctuation& punctuation);

// What the single-sweep exports hold: a point count of 1 up (a damaged count
// is held to the block).
int fra_export_points(const s_fra_sweep& sweep);
int lcr_export_points(const s_lcr_sweep& sweep);
