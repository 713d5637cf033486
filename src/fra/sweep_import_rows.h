// What the two sweep import readers share: storing a row's point in the
// block with the block's size limit, and the tests on header lines.
#pragma once

#include <string_view>

#include "fra/sweep_import.h"
#include "fra/sweep_records.h"

// Stores point at index `stored` and counts it; too_many_rows (nothing
// stored) once the block is full.
sweep_import_status store_imported_point(s_lcr_sweep& block, int& stored, const s_lcr_result& point);

// Whether a header line names the letter (case-sensitive: "Z", "Y").
bool header_names(std::string_view header, char letter);
