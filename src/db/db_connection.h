// The program's one connection to its test database, with its open flag,
// the path it was opened with, and the transactions on it.
//
// The connection is shared by the main thread and one worker at a time (the
// sweep's save worker); SQLite is built serialized, so each call is safe on
// its own. A transaction belongs to the connection, not to a thread: work of
// the other thread done while one is open joins it.
//
// While no database is open the statement operations do nothing and return
// -1 (db_not_open).
#pragma once

#include <string>

struct sqlite3;
class user_prompt;

inline constexpr int db_not_open = -1;

// db_open modes.
inline constexpr int DB_OPEN_CREATE = 1;    // open, creating the file (with its tables) when missing
inline constexpr int DB_OPEN_EXISTING = 3;  // open an existing file only

// Opens the database at path (Windows-1252 text), closing any open one first.
// Any mode other than DB_OPEN_CREATE and DB_OPEN_EXISTING only closes and
// returns false. *created (when given) becomes true exactly when the mode is
// DB_OPEN_CREATE and nothing exists at the path, and only then is a file
// made: it gets the three tables, and is deleted again when that fails. The
// file must then hold the Session, Test and Data tables with the program's
// columns (db_check_schema), checked before anything is changed.
// A failure of SQLite's open itself is reported (db_report_error); the
// others are not, and db_last_open says why (the callers' messages name the
// file). On any failure the connection is closed again. True when the
// database is open.
bool db_open(const std::string& path, int mode, bool* created = nullptr);

// Why the last db_open ended as it did.
enum class db_open_outcome {
    opened,
    closed_only,     // a mode other than the two open modes
    cannot_open,     // SQLite could not open an existing file (reported)
    not_a_database,  // another database, or no SQLite file at all
    unreadable,      // SQLite could not read the file: locked, busy, I/O, ...
    create_failed,   // a new file could not be made, or given its tables (then deleted)
};
struct s_db_open_result {
    db_open_outcome outcome = db_open_outcome::closed_only;
    int code = 0;       // SQLite's result code of the failure (0 when none)
    std::string cause;  // SQLite's words for it ("database is locked"), or ""
};
s_db_open_result db_last_open();
// Closes the connection (if open) and clears the open flag.
void db_close();
bool db_is_open();
// The path of the open database ("" when none).
std::string db_open_path();

// The open connection, or nullptr; for the access layer's own files.
sqlite3* db_connection();

// Runs SQL without looking at rows; the SQLite result code. Its error text is dropped.
int db_exec(const char* sql);

// Transactions, counted by depth so that nested calls join the outermost one:
// only the outermost db_begin sends "BEGIN TRANSACTION" and only the
// outermost db_commit sends "COMMIT TRANSACTION". db_rollback ends a level
// like db_commit but marks the whole transaction failed: the outermost end
// then sends "ROLLBACK TRANSACTION" instead, and reports SQLITE_ABORT, so a
// failure anywhere inside leaves the file as it was. A COMMIT that fails is
// rolled back too. db_commit and db_rollback without a db_begin do nothing
// and return SQLITE_MISUSE.
int db_begin();
int db_commit();
int db_rollback();
// The transaction depth (0 when none is open).
int db_transaction_depth();

// Where the database's own errors and the wait cursor go (the Win32 layer:
// ownerless message boxes; the tool: its terminal). nullptr shows nothing.
void db_use_prompt(user_prompt* prompt);
user_prompt& db_prompt();

// One transaction level for a scope: db_begin now, and db_rollback at the
// end of the scope unless commit() ended the level first.
class db_transaction {
public:
    db_transaction() { db_begin(); }
    ~db_transaction()
    {
        if (!ended_) {
            db_rollback();
        }
    }
    db_transaction(const db_transaction&) = delete;
    db_transaction& operator=(const db_transaction&) = delete;
    // Ends the level; the result of db_commit.
    int commit()
    {
        ended_ = true;
        return db_commit();
    }

private:
    bool ended_ = false;
};
