// The "Database Error" message: SQLite's own text when there is one,
// otherwise a text chosen by the result code, with SQLite's own words for the
// failure added. Shown through db_prompt() (no owner window), with the
// warning icon.
#pragma once

#include <cstddef>
#include <string>

struct sqlite3;

inline constexpr const char* db_error_caption = "Database Error";
// The longest SQLite error text shown.
inline constexpr std::size_t db_error_text_length = 1023;

// What SQLite said about one failure.
struct s_db_failure {
    int code = 0;           // the primary result code
    std::string words;      // SQLite's words: sqlite3_errmsg, else sqlite3_errstr
    int system_error = 0;   // the system's error number behind an I/O failure (0 none)
};

// Notes the failure the connection reports now (its code must be code), so
// that a report made later, after a rollback has reset the connection's own
// error, still gives SQLite's words and the system's error for it.
void db_note_failure(sqlite3* connection, int code);
// The failure behind code: the one last noted when it has that code, else
// SQLite's general words for the code.
s_db_failure db_failure_for(int code);
// The cause in SQLite's words, with the system's side of an I/O failure:
// "database is locked", "disk I/O error: the disk is full".
std::string db_failure_cause(const s_db_failure& failure);

// The text for a result code: "Database file is locked\nError Code: 5", then
// SQLite's words for the failure on a line of their own when they say more
// than that text ("...\nError Code: 19\nUNIQUE constraint failed: ...").
// For an I/O failure (10) the first line is SQLite's cause itself, since the
// failure may as well be a save as a load.
std::string db_error_message(int code);

// Shows error_text (cut to db_error_text_length characters) or, when it is
// nullptr, the text for the connection's last error code. The caller keeps
// and releases error_text.
void db_report_error(const char* error_text);
// Shows the text for code.
void db_report_error_code(int code);
