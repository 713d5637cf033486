// Reading a sweep back from a text or CSV file into an LCR sweep block, for
// the "IMPORT" buttons of the LCR, EIS and Piezo views and the tool's import.
//
// A file holding a tab anywhere is read by the tab reader, any other by the
// comma reader. Both store one point per row into the block (which the caller
// has zeroed) and set the LCR result layout code from the rows' field counts;
// on success the block's `points` is the number of rows read.
//
// Comma reader: lines of up to 2047 characters. The first line whose leading
// integer is not 0 is the first row (so a row whose first field is below 1 is
// taken for a header); the line before it is the header line. ";" is the
// separator when the first row holds one, else ",". A row of 8, 13 or 5
// fields has no index column; any other row's first field is an index and is
// skipped. The remaining count m gives the layout: 8 -> 3, 13 -> 6,
// 5 -> 7 when the header line holds "Z" (upper case) and 8 when not; any
// other m fails the import. Fields convert as atof does (0 when not a
// number); in ";" files each field first becomes "." for "," and loses every
// character but "1234567890.E+-" (thousands marks vanish, so do lower-case
// exponent marks).
//
// Tab reader: lines split at tabs. Before the first row a line whose first
// field does not read as a non-zero number is a header line (the last one is
// kept). The first row fixes the decimal mark (a comma when it holds one)
// and the layout by its field count: 6 or 8 -> 5 values, code 8 when the
// header holds "Y" (upper case), else 7; 9 or 11 -> 8 values, code 3; 14 or
// 16 -> 13 values, code 6 (the counts 8, 11 and 16 carry two Nyquist columns
// after the values); any other count fails. Fields 1 onward fill values 0
// onward of one point that is zeroed once, not per row: a row with fewer
// fields, or a field that is not a number, keeps the previous row's value in
// that place. An apostrophe before a cell (the text export's Custom number
// format) is passed over. The global locale is never touched.
//
// Both readers pass over lines holding only spaces and tabs. A block holds
// SWEEP_MAX_POINTS points: a file with more rows fails the import (the first
// SWEEP_MAX_POINTS rows stay in the block, `points` is not set), rather than
// being cut short without a word.
#pragma once

#include <cstdio>
#include <string>

#include "fra/sweep_records.h"

enum class sweep_import_status {
    imported,        // points set (possibly 0 when the file holds no row)
    cannot_open,     // the file could not be opened
    unknown_layout,  // a row's field count fits no layout
    too_many_rows,   // more than SWEEP_MAX_POINTS rows
};

sweep_import_status import_sweep_file(const std::string& path, s_lcr_sweep& block, int& layout);

// The views' form: true on success, nothing reported.
bool import_sweep_text(const std::string& path, s_lcr_sweep& block, int& layout);

// The two readers over an open file from its current position.
sweep_import_status read_sweep_csv(std::FILE* file, s_lcr_sweep& block, int& layout);
sweep_import_status read_sweep_tab(std::FILE* file, s_lcr_sweep& block, int& layout);

// A short English text for a status, for messages.
const char* sweep_import_status_text(sweep_import_status status);
