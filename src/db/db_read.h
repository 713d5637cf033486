// Reading the test database: one test with its session's date and its
// points, one session, the lists of sessions and tests, the values of one
// column, and a session by name. Results are SQLite result codes (0 success,
// db_not_open while no database is open); a failed query is reported with
// SQLite's own text (db_report_error).
//
// Column texts are copied as raw bytes, cut to the record's widths; a NULL
// column reads as "" (a date that SQLite could not make is 0/0/0). In list
// mode every text first loses its tab characters, so a list line never holds
// a tab from the data itself; a listing whose target asks for escaped texts
// keeps them and writes each field in its backslash form instead
// (db_escape_list_text), so no byte of the data is lost and one row is one
// line.
#pragma once

#include <cstdint>

#include "db/db_records.h"
#include "db/db_schema.h"

// How a listing writes the texts of its lines.
enum class db_list_text {
    tabs_removed,  // tabs dropped from each field (a list control splits at tabs)
    escaped,       // each field in its backslash form (a line-based reader)
};

// Where a listing puts its lines: one line per row with the row's number as
// the item's data (a list control in the window layer).
class db_list_target {
public:
    virtual ~db_list_target() = default;
    virtual void add_item(const char* line, std::int64_t item) = 0;
    virtual db_list_text text_form() const { return db_list_text::tabs_removed; }
};

// Where db_fill_combo puts the values of a column (a combo box).
class db_combo_target {
public:
    virtual ~db_combo_target() = default;
    virtual void add_string(const char* text) = 0;
};

// Loads the test: the record's points are released and the record cleared,
// then filled from the Test row, the date of its session and, with points,
// its Data rows in ascending frequency. SQLITE_NOTFOUND when no test has the
// number (the record then holds only the number).
int db_load_test(s_db_test& test, std::int64_t test_number, bool list_mode, bool with_points);

// Loads the session whose number the record holds; the record is cleared
// first. SQLITE_NOTFOUND when no session has the number.
int db_get_session(s_db_session& session, bool list_mode);
// Whether a session with this number exists: SQLITE_OK, SQLITE_NOTFOUND or
// the failure's code. Nothing is reported: the caller says what failed.
int db_check_session(std::int64_t session_number);

// Lines "name\tunit\tday/month/year\tlocation", one per session, sorted by
// the Session column at sort_column: INTEGER columns by value, the others by
// their upper-cased text. SQLITE_RANGE for a column outside the list.
int db_list_sessions(db_list_target* list, int sort_column, bool ascending);
// Lines "winding\tname", one per test of the session, sorted likewise by the
// Test column at sort_column.
int db_list_tests(db_list_target* list, std::int64_t session_number, int sort_column, bool ascending);

// Every value of the column at position of the table, in table order.
int db_fill_combo(db_table table, int position, db_combo_target& combo);

// The number of the first session whose name equals name (its first 50
// characters) regardless of letter case; 0 when none does (callers refuse).
std::int64_t db_find_session_by_name(const char* name);
