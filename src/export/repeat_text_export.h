// The text of one sweep of a repeated series, exported from the sweep data
// file the view left for it: the preamble, "data start sweep 1", the header
// of the column set and the file's rows in the cells' number format (never
// with apostrophes).
#pragma once

#include <string>

#include "export/export_cells.h"

// The file's first line without its line end (at most 1023 characters): its
// time stamp, which names the exported file.
std::string sweep_file_first_line(const std::string& file_text);

// file_text is the whole sweep data file. FRA rows of 11 fields take the
// three-channel header, others the two-channel one; LCR rows the header of
// layout. Each row is copied field by field: the first as a whole number
// (the step), each further one as a number in the cell format. Empty lines
// (a line end after the last row) are passed over.
std::string repeat_export_text(const std::string& file_text, bool fra, int layout, const std::string& preamble,
                               const s_export_punctuation& punctuation);
