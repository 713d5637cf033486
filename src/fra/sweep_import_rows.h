// What the two sweep import readers share: the readers themselves (called by
// import_sweep_file with the file's text, byte-order mark removed and every
// line within sweep_import_line_limit), storing a row's point in the block
// with the block's size limit, and the tests on header lines.
#pragma once

#include <string_view>

#include "fra/sweep_import.h"
#include "fra/sweep_records.h"

sweep_import_result read_sweep_csv(std::string_view text, s_lcr_sweep& block, int& layout);
sweep_import_result read_sweep_tab(std::string_view text, s_lcr_sweep& block, int& layout);

// Stores point at index `stored` and counts it; too_many_rows (nothing
// stored) once the block is full.
sweep_import_status store_imported_point(s_lcr_sweep& block, int& stored, const s_lcr_result& point);

// Whether a header line names the letter (case-sensitive: "Z", "Y").
bool header_names(std::string_view header, char letter);
