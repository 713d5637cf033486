// Writing to the test database: sessions, tests and their points, and
// deleting them. Results are SQLite result codes (0 success, db_not_open
// while no database is open) unless stated otherwise.
#pragma once

#include <cstdint>

#include "db/db_records.h"

class progress_reporter;

// Progress command sent after each stored point (the range, 10003, goes first).
inline constexpr int db_progress_step_command = 10004;

// Inserts the session (update false; its number is taken when positive, else
// SQLite chooses one and the record receives it) or rewrites all six text and
// date columns of the row with the record's number (update true).
int db_save_session(s_db_session& session, bool update);

// Inserts the test row (update false; the record receives its new number) or
// rewrites its name, winding and description (update true; the record keeps
// its number). Runs as one transaction level (db_begin/db_commit), so inside
// a caller's transaction it joins it.
int db_save_test(s_db_test& test, bool update);

// Inserts one point of a test; data number 0 lets SQLite choose it.
int db_insert_point(std::int64_t test_number, std::int64_t data_number, const s_db_point& point);

// Updates the test row and inserts the record's first count points (never
// more than it holds), all in one transaction level: a failure stores none
// of it. Shows the wait cursor meanwhile and reports a failure
// (db_report_error). Returns true on failure.
bool db_store_test(s_db_test& test, int count);
// The same, telling progress the point count (10003) before the first point
// and the number stored so far (db_progress_step_command) after each point.
bool db_store_test_progress(s_db_test& test, int count, progress_reporter* progress);

// Stores a new test with all its points under its session, as one
// transaction: the record receives its new test number. Refuses a session
// number that names no session (SQLITE_NOTFOUND) so no test is ever filed
// where no list shows it. Failures are not reported; the result says.
int db_save_new_test(s_db_test& test);
// The same, telling progress the point count (10003) before the first point
// and the number stored so far (db_progress_step_command) after each point.
int db_save_new_test_progress(s_db_test& test, progress_reporter* progress);

// Deletes the session row only (its tests stay: see db_delete_session_and_tests).
int db_delete_session(std::int64_t session_number);
// Deletes the test row and then its points, as one transaction level.
int db_delete_test(std::int64_t test_number);
// Deletes every test of the session with its points, then the session, as
// one transaction.
int db_delete_session_and_tests(std::int64_t session_number);
