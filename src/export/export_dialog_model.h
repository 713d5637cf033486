// What the Export Tests dialog runs: its source code (where it was opened
// from) and the "Excel" or "CSV" choice name one export.
//
//   source 1         database view   CSV: the tests' text files      Excel: the tests report
//   source -1 or 0   FRA window      CSV: the series' files when a series was set up
//                                    (repeat_count not 0), else the sweep's file;
//                                    Excel: the matching FRA report
//   source -2 or 2   LCR window      the same for LCR
//   source 3         Piezo window    CSV: the sweep's file          Excel: the Piezo report
// Any other source runs nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class user_prompt;

enum class export_job {
    none,
    tests_text,
    fra_sweep_text,
    fra_repeats_text,
    lcr_sweep_text,
    lcr_repeats_text,
    tests_report,
    fra_sweep_report,
    fra_repeats_report,
    lcr_sweep_report,
    lcr_repeats_report,
    piezo_report,
};

inline constexpr int EXPORT_SOURCE_DATABASE = 1;
inline constexpr int EXPORT_SOURCE_FRA = -1;
inline constexpr int EXPORT_SOURCE_LCR = -2;
inline constexpr int EXPORT_SOURCE_PIEZO = 3;

export_job export_job_for(int source, bool csv, int repeat_count);

// True for the reports of the spreadsheet program (the "Excel" choice).
bool export_job_is_report(export_job job);

// The database view's graph list can be exported when it holds 1 to 9
// tests; otherwise the dialog says "Please add some tests to export"
// (caption "Corvexa2").
inline constexpr int EXPORT_MAX_TESTS = 9;
inline constexpr const char* EXPORT_NO_TESTS_TEXT = "Please add some tests to export";
bool export_test_count_usable(std::size_t count);

// What the dialog asks of the views and does through them.
class export_dialog_actions {
public:
    virtual ~export_dialog_actions() = default;
    // repeat_count of the FRA view (sources -1, 0) or the LCR view (-2, 2).
    virtual int repeat_count(int source) = 0;
    // The test numbers of the database view's graph list, in list order.
    virtual std::vector<std::int64_t> graph_list_tests() = 0;
    // Runs the export (with the graph list's tests for the database view).
    virtual void run(export_job job, const std::vector<std::int64_t>& tests) = 0;
};

// "OK": the job of the source and the choice, run through the actions; for
// the database view only with 1 to 9 tests on its graph list, else the user
// is told EXPORT_NO_TESTS_TEXT and nothing runs.
void export_dialog_ok(int source, bool csv, export_dialog_actions& actions, user_prompt& prompt);
