// The "Database Error" message: SQLite's own text when there is one,
// otherwise a text chosen by the result code. Shown through db_prompt()
// (no owner window), with the warning icon.
#pragma once

#include <cstddef>
#include <string>

inline constexpr const char* db_error_caption = "Database Error";
// The longest SQLite error text shown.
inline constexpr std::size_t db_error_text_length = 1023;

// The text for a result code, such as "Database file is locked\nError Code: 5".
std::string db_error_message(int code);

// Shows error_text (cut to db_error_text_length characters) or, when it is
// nullptr, the text for the connection's last error code. The caller keeps
// and releases error_text.
void db_report_error(const char* error_text);
// Shows the text for code.
void db_report_error_code(int code);
