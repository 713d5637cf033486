// Reading a sweep back from a text or CSV file into an LCR sweep block, for
// the "IMPORT" buttons of the LCR, EIS and Piezo views and the tool's import.
//
// The file is read once, whole, into memory (so a pipe imports as a file
// does); a file longer than sweep_import_max_bytes, a folder and a file that
// cannot be read fail the import. A leading UTF-8 byte-order mark (EF BB BF)
// is passed over. Lines end at LF, CR LF or a lone CR, and may be up to
// sweep_import_line_limit characters long: a longer line anywhere fails the
// import, naming its line, rather than being read in pieces that would pass
// for rows of their own. A file holding a tab anywhere is read by the tab
// reader, any other by the comma reader. Both store one point per row into
// the block (which the caller has zeroed) and set the LCR result layout code
// from the rows' field counts; on success the block's `points` is the number
// of rows read.
//
// Comma reader: the first line whose leading integer is not 0 is the first
// row (so a row whose first field is below 1 is taken for a header); the line
// before it is the header line. ";" is the separator when the first row
// holds one, else ",". A row of 8, 13 or 5 fields has no index column; any
// other row's first field is an index and is skipped. The remaining count m
// gives the layout: 8 -> 3, 13 -> 6, 5 -> 7 when the header line holds "Z"
// (upper case) and 8 when not; any other m fails the import. Fields convert
// as atof does (0 when not a number); in ";" files each field first becomes
// "." for "," and loses every character but "1234567890.E+-" (thousands
// marks vanish, so do lower-case exponent marks).
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
// In both readers a value that reads as NaN or an infinity (a number too
// large for a double among them) fails the import, naming its line and
// column: the database and the views have no use for it, and storing it
// would lose it without a word.
//
// Both readers pass over lines holding only spaces and tabs. A block holds
// SWEEP_MAX_POINTS points: a file with more rows fails the import (the first
// SWEEP_MAX_POINTS rows stay in the block, `points` is not set), rather than
// being cut short without a word. Whenever the import fails, `points` is
// left as the caller set it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "fra/bounded_file_read.h"

#include "fra/sweep_records.h"

// The largest sweep file read. A full sweep of 2000 rows of 16 columns is
// well under 1 MiB; a larger file is not a sweep file.
inline constexpr std::size_t sweep_import_max_bytes = 4 * 1024 * 1024;
// The longest line (without its line end) either reader takes.
inline constexpr std::size_t sweep_import_line_limit = 2047;

enum class sweep_import_status {
    imported,        // points set (possibly 0 when the file holds no row)
    cannot_open,     // the file could not be opened
    unknown_layout,  // a row's field count fits no layout
    too_many_rows,   // more than SWEEP_MAX_POINTS rows
    is_folder,       // the path names a folder, not a file
    cannot_read,     // reading the file stopped at an error
    too_large,       // the file is longer than sweep_import_max_bytes
    line_too_long,   // a line is longer than sweep_import_line_limit
    not_finite,      // a value reads as NaN or an infinity
};

// How an import ended, and where in the file when one place is at fault.
struct sweep_import_result {
    sweep_import_status status = sweep_import_status::imported;
    int line = 0;    // the file's line at fault, from 1; 0 when none
    int column = 0;  // the field of that line at fault, from 1; 0 when none
};

sweep_import_result import_sweep_file(const std::string& path, s_lcr_sweep& block, int& layout);
// The same on a file's whole text, already read.
sweep_import_result import_sweep_bytes(std::string_view bytes, s_lcr_sweep& block, int& layout);

// The views' form: true on success, nothing reported.
bool import_sweep_text(const std::string& path, s_lcr_sweep& block, int& layout);

// The import's status for a failed bounded read of its file.
sweep_import_status sweep_import_status_of_read(file_read_status status);

// A short English text for a result, for messages ("line 12 is longer ...").
std::string sweep_import_result_text(const sweep_import_result& result);
