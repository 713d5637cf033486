// The sweep data file the FRA and LCR views write beside each sweep:
// "sweep<n>.dat" in the settings folder, n the sweep's number in its series
// from 1 (a single sweep always replaces sweep1.dat).
//
// Windows-1252 text with CR LF line ends, written in binary mode on every
// platform: the time stamp line, then one row per point (sweep_rows.h), rows
// separated by a line end and no line end after the last row. A completed
// sweep and a real-time sweep give the same bytes for the same points.
//
// A file that cannot be created or opened is skipped: the writers return
// false, and the sweep, its list and its block are unaffected.
#pragma once

#include <string>

#include "app/settings_environment.h"
#include "fra/sweep_records.h"

// folder joined with "sweep<number>.dat".
std::string sweep_file_path(const std::string& folder, int sweep_number);
// The same in the settings folder (settings_folder()).
std::string sweep_file_path(int sweep_number);

// The whole file text of a block (time stamp from its `taken`), with "\n"
// line ends as composed; the writers turn them into CR LF.
std::string fra_sweep_file_text(const s_fra_sweep& block);
std::string lcr_sweep_file_text(const s_lcr_sweep& block, int layout);

// A completed sweep: sets the block's `taken` to now (even when the file
// cannot be written), then creates the file afresh with every point.
bool write_fra_sweep_file(const std::string& path, s_fra_sweep& block, const s_utc_time& now);
bool write_lcr_sweep_file(const std::string& path, s_lcr_sweep& block, int layout, const s_utc_time& now);
// The same at the PC clock's present moment (UTC).
bool write_fra_sweep_file(const std::string& path, s_fra_sweep& block);
bool write_lcr_sweep_file(const std::string& path, s_lcr_sweep& block, int layout);

// A real-time sweep, one point at a time. With the first point the file is
// created afresh (an older file of the same name is replaced, never appended
// to) holding the time stamp and the row, and `taken` is set to now; every
// later point appends a line end and its row.
bool add_realtime_sweep_row(const std::string& path, const std::string& row, bool first_point,
                            s_calendar_time& taken, const s_utc_time& now);
bool add_realtime_sweep_row(const std::string& path, const std::string& row, bool first_point,
                            s_calendar_time& taken);
