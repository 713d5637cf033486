// Reading the sweep an analysis runs on from a file: a file the impedance
// views' import reads (text or CSV), or a sweep data file the FRA and LCR
// views write beside each sweep (sweep_data_file.h), whose opening time stamp
// line is passed over.
#pragma once

#include <string>
#include <string_view>

#include "fra/sweep_import.h"
#include "fra/sweep_records.h"

// True for a sweep data file's time stamp line ("26-03-2019 - 14:05:09").
bool is_sweep_time_stamp_line(std::string_view line);

// As import_sweep_file; a first line that is a time stamp is passed over (and
// still counted in the line numbers of a failure).
sweep_import_result import_lcr_analysis_file(const std::string& path, s_lcr_sweep& block, int& layout);

// An FRA sweep data file: an optional time stamp line, then one row per point
// of 7 fields (index, frequency, values 1 to 5) or 11 (three channels,
// values 1 to 9), separated by tabs, every value a finite number. Blank lines
// are passed over. On success the block (zeroed first) holds the points and
// its channel count; on failure `points` is 0. A file of other rows is
// `unknown_layout`, a value that is not a finite number `not_finite`, no row
// at all is `imported` with 0 points.
sweep_import_result import_fra_sweep_data_file(const std::string& path, s_fra_sweep& block);
