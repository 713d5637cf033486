// The test database's tables, their columns and the statements that create
// them. Every statement of the access layer takes its table and column names
// from these lists, and sorting and combo filling address a column by its
// position in its table's list (0 first).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <vector>

struct sqlite3;

enum class db_table { session = 0, test = 1, data = 2 };
inline constexpr int db_table_count = 3;

struct s_db_column {
    const char* name;
    bool integer;  // an INTEGER column: sorted by its value, not by its text
};

// Positions in the Session list.
enum db_session_column {
    DB_SESSION_NUMBER,
    DB_SESSION_NAME,
    DB_SESSION_UNIT,
    DB_SESSION_DATE,
    DB_SESSION_LOCATION,
    DB_SESSION_PERFORMED_BY,
    DB_SESSION_COMMENTS
};
// Positions in the Test list.
enum db_test_column { DB_TEST_NUMBER, DB_TEST_SESSION, DB_TEST_NAME, DB_TEST_WINDING, DB_TEST_DESCRIPTION };
// Positions in the Data list.
enum db_data_column {
    DB_DATA_TEST,
    DB_DATA_FREQUENCY,
    DB_DATA_AMPLITUDE,
    DB_DATA_GRAPHED,
    DB_DATA_RANGE,
    DB_DATA_NUMBER,
    DB_DATA_PHASE
};

const char* db_table_name(db_table table);
std::span<const s_db_column> db_columns(db_table table);

// The column as a statement names it: double-quoted when the name holds a
// space ("Performed By"), else as it is. "" for a position outside the list.
std::string db_column_sql(db_table table, int position);

// The statements that create one table: the table, then its indexes.
std::vector<std::string> db_schema_statements(db_table table);

// Checks that the database holds the three tables with exactly the columns
// of the lists above, in their order (rows are read by position and inserted
// without column names), with each table's row number column as its INTEGER
// PRIMARY KEY (new rows take their numbers from it). Reads only; changes
// nothing. SQLITE_OK when the file is a test database; SQLITE_NOTADB when
// it is some other database, or no SQLite database at all; any other code
// when SQLite could not read the file (locked, busy, unreadable, ...), the
// connection then holding SQLite's words for it.
int db_check_schema(sqlite3* connection);

// Creates the three tables in a fresh database, each as one transaction
// (BEGIN, DROP TABLE IF EXISTS, the table, its indexes, COMMIT), Session
// first; stops at the first failure, rolling back that table. Returns the
// SQLite result code.
int db_create_schema(sqlite3* connection);
