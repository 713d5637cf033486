// What every database command of the tool does around its work: the
// database's own messages on standard error, an existing file opened (never
// created) with a reason when it cannot be, and the file closed again.
#pragma once

#include <cstdint>
#include <string>

#include "terminal_prompt.h"

struct cli_context;
struct s_db_test;

// The database's own messages on standard error, and the database closed
// again, for the length of one command.
class database_scope {
public:
    explicit database_scope(const cli_context& context);
    ~database_scope();
    database_scope(const database_scope&) = delete;
    database_scope& operator=(const database_scope&) = delete;

private:
    terminal_prompt prompt_;
};

// Opens an existing test database; on standard error says why not ("Database
// file not found: PATH", or db_open_failure_message: not a test database, or
// SQLite's cause when it could not read the file).
bool open_existing_database(const cli_context& context, const std::string& path);

// A text word that goes into the database (a session or test name) must be
// printable Windows-1252 text: no control characters (line breaks, tabs,
// escapes) and none of the bytes the code page leaves undefined. Otherwise a
// usage error, "NAME holds \n (character 4), which is not printable
// Windows-1252 text", sets *status and the result is false.
bool printable_text_argument(const cli_context& context, const char* name, const std::string& text, int* status);

// A row number argument (a session or test number): a whole number from 1 up.
bool parse_row_number(const std::string& text, std::int64_t* number);

// Loads test number of the open database file (with its points when asked);
// says "No test N in FILE" when the file has no such test (the access layer
// reports its own errors).
bool load_db_test(const cli_context& context, const std::string& file, std::int64_t number, bool with_points,
                  s_db_test& test);
