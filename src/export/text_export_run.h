// The text exports as the Export Tests dialog runs them: what to export is
// checked, the user chooses the file or the folder, the files are written,
// and every outcome the user must know of is told through the prompt.
//
// Messages (information icon):
//   "No Data to Export"               caption "Excel Export Error": nothing to export, or a series
//                                     that has not run to its end
//   "Unable to create CSV file"       caption "Excel Export Error": the Save As choice cancelled
//   "Invalid Directory Selected"      caption "Error": the folder choice cancelled
// A file that cannot be created is passed over without a message, as the
// dialog always did: a single export writes nothing, a series stops there
// (earlier files stay), a test export goes on with the next test.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "export/export_cells.h"
#include "fra/sweep_records.h"

class user_prompt;

// Where the files go: the system's Save As and folder choosers in the
// program, a given name or folder in the tool and the tests.
class export_destination {
public:
    virtual ~export_destination() = default;
    // A text file (filter "Text File *.txt", extension "txt", overwrite
    // prompt); nullopt when cancelled.
    virtual std::optional<std::string> text_file() = 0;
    // A folder ("Select Export Location"); nullopt when cancelled or not a
    // file-system folder.
    virtual std::optional<std::string> folder() = 0;
};

// What every export of one run shares.
struct s_export_run {
    user_prompt& prompt;
    export_destination& destination;
    std::string preamble;                // export_preamble_text of the instrument and configuration
    s_export_punctuation punctuation;    // of the chosen number format
    bool custom_format = false;          // the number format is Custom: single sweeps write apostrophes
};

// The single sweeps. has_rows: the view's results list holds rows (FRA,
// EIS); the LCR export looks at the block's points itself. The path written,
// or nullopt when nothing was.
std::optional<std::string> export_fra_sweep_text(s_export_run& run, const s_fra_sweep& sweep, bool has_rows);
std::optional<std::string> export_lcr_sweep_text(s_export_run& run, const s_lcr_sweep& sweep, int layout);
std::optional<std::string> export_eis_sweep_text(s_export_run& run, const s_lcr_sweep& sweep, int layout,
                                                 bool has_rows);

// The series' sweep data files (data_folder, "sweep<n>.dat" for n = 1 to
// repeat_count), one file each; only a series with repeat_done equal to
// repeat_count. The paths written, in order.
std::vector<std::string> export_fra_repeats_text(s_export_run& run, int repeat_count, int repeat_done,
                                                 const std::string& data_folder);
std::vector<std::string> export_lcr_repeats_text(s_export_run& run, int repeat_count, int repeat_done,
                                                 const std::string& data_folder, int layout);
// The same for the views' own series (series_state.h).
std::vector<std::string> export_fra_repeats_text(s_export_run& run, const std::string& data_folder);
std::vector<std::string> export_lcr_repeats_text(s_export_run& run, const std::string& data_folder, int layout);

// Stored tests of the open database, one file each, named after the test;
// tests without points are passed over. The paths written, in order.
std::vector<std::string> export_tests_text(s_export_run& run, const std::vector<std::int64_t>& tests);
