#include "db/db_connection.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>

#include "app/user_prompt.h"
#include "db/db_error.h"
#include "db/db_path.h"
#include "db/db_schema.h"

namespace {

struct s_db_state {
    std::atomic<sqlite3*> connection{nullptr};
    std::atomic<bool> open{false};
    std::mutex path_lock;
    std::string path;
    // Transaction bookkeeping, changed together under the lock.
    std::mutex transaction_lock;
    int depth = 0;
    bool began = false;   // the outermost BEGIN succeeded
    bool failed = false;  // a level ended with db_rollback
};

s_db_state& state()
{
    static s_db_state db;
    return db;
}

std::atomic<user_prompt*> installed_prompt{nullptr};

void set_path(const std::string& path)
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.path_lock);
    db.path = path;
}

void forget_transaction()
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.transaction_lock);
    db.depth = 0;
    db.began = false;
    db.failed = false;
}

std::mutex& last_open_lock()
{
    static std::mutex lock;
    return lock;
}

s_db_open_result& last_open()
{
    static s_db_open_result result;
    return result;
}

// Records how this open ended; a failure's cause comes from its noted words.
void set_last_open(db_open_outcome outcome, int code = SQLITE_OK)
{
    s_db_open_result result;
    result.outcome = outcome;
    result.code = code;
    if (code != SQLITE_OK) {
        result.cause = db_failure_cause(db_failure_for(code));
    }
    // Every message of a failed open already says that the file could not be
    // opened: SQLite's plain words for it would only repeat that.
    if (code == SQLITE_CANTOPEN && result.cause == sqlite3_errstr(SQLITE_CANTOPEN)) {
        result.cause.clear();
    }
    const std::lock_guard<std::mutex> hold(last_open_lock());
    last_open() = result;
}

// A failure of the open step: the connection's words noted, the connection closed.
bool fail_open(sqlite3* connection, db_open_outcome outcome, int code)
{
    db_note_failure(connection, code);
    sqlite3_close(connection);
    set_last_open(outcome, code);
    return false;
}

// Rolls back the transaction unless SQLite already has: after a full disk,
// an I/O error or a lock it may have, and a ROLLBACK then would only fail
// and replace the noted words of the failure that ended it.
void roll_back()
{
    sqlite3* connection = db_connection();
    if (connection != nullptr && sqlite3_get_autocommit(connection) == 0) {
        db_exec("ROLLBACK TRANSACTION");
    }
}

// Ends the outermost level: COMMIT, or ROLLBACK when a level failed or the
// COMMIT did. Called with the transaction lock held.
int end_outermost(s_db_state& db)
{
    const bool began = db.began;
    const bool failed = db.failed;
    db.began = false;
    db.failed = false;
    if (!began) {
        return failed ? SQLITE_ABORT : SQLITE_OK;
    }
    if (failed) {
        roll_back();
        return SQLITE_ABORT;
    }
    const int code = db_exec("COMMIT TRANSACTION");
    if (code != SQLITE_OK) {
        roll_back();
    }
    return code;
}

int end_level(bool failed)
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.transaction_lock);
    if (db.depth == 0) {
        return SQLITE_MISUSE;
    }
    db.failed = db.failed || failed;
    if (--db.depth > 0) {
        return db.failed ? SQLITE_ABORT : SQLITE_OK;
    }
    return end_outermost(db);
}

}  // namespace

bool db_open(const std::string& path, int mode, bool* created)
{
    db_close();
    if (mode != DB_OPEN_CREATE && mode != DB_OPEN_EXISTING) {
        set_last_open(db_open_outcome::closed_only);
        return false;
    }
    // Only the create mode may make a file, and only where none exists: an
    // existing file never has its tables dropped and made afresh.
    if (created != nullptr) {
        *created = mode == DB_OPEN_CREATE && !db_path_exists(path);
    }
    const bool create = created != nullptr && *created;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_FULLMUTEX;
    if (create) {
        flags |= SQLITE_OPEN_CREATE;
    }
    sqlite3* connection = nullptr;
    const std::string utf8_path = cp1252_to_utf8(path);
    const int code =
        path.empty() ? SQLITE_CANTOPEN : sqlite3_open_v2(utf8_path.c_str(), &connection, flags, nullptr);
    if (code != SQLITE_OK) {
        fail_open(connection, create ? db_open_outcome::create_failed : db_open_outcome::cannot_open, code);
        db_report_error_code(code);
        return false;
    }
    if (create) {
        const int schema = db_create_schema(connection);
        if (schema != SQLITE_OK) {
            fail_open(connection, db_open_outcome::create_failed, schema);
            db_remove_file(path);
            return false;
        }
    }
    // Nothing is written to a file before it has proved to be a test
    // database; one SQLite cannot read now is never called foreign.
    const int check = db_check_schema(connection);
    if (check != SQLITE_OK) {
        return fail_open(connection,
                         check == SQLITE_NOTADB ? db_open_outcome::not_a_database : db_open_outcome::unreadable,
                         check);
    }
    forget_transaction();
    set_path(path);
    s_db_state& db = state();
    db.connection.store(connection);
    db.open.store(true);
    set_last_open(db_open_outcome::opened);
    return true;
}

s_db_open_result db_last_open()
{
    const std::lock_guard<std::mutex> hold(last_open_lock());
    return last_open();
}

void db_close()
{
    s_db_state& db = state();
    db.open.store(false);
    sqlite3* connection = db.connection.exchange(nullptr);
    if (connection != nullptr) {
        sqlite3_close(connection);
    }
    forget_transaction();
    set_path("");
}

bool db_is_open()
{
    return state().open.load();
}

std::string db_open_path()
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.path_lock);
    return db.path;
}

sqlite3* db_connection()
{
    s_db_state& db = state();
    return db.open.load() ? db.connection.load() : nullptr;
}

int db_exec(const char* sql)
{
    sqlite3* connection = db_connection();
    if (connection == nullptr) {
        return db_not_open;
    }
    const int code = sqlite3_exec(connection, sql, nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        db_note_failure(connection, code);
    }
    return code;
}

int db_begin()
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.transaction_lock);
    if (db.depth++ > 0) {
        return db.failed ? SQLITE_ABORT : SQLITE_OK;
    }
    db.failed = false;
    const int code = db_exec("BEGIN TRANSACTION");
    db.began = code == SQLITE_OK;
    return code;
}

int db_commit()
{
    return end_level(false);
}

int db_rollback()
{
    return end_level(true);
}

int db_transaction_depth()
{
    s_db_state& db = state();
    const std::lock_guard<std::mutex> hold(db.transaction_lock);
    return db.depth;
}

void db_use_prompt(user_prompt* prompt)
{
    installed_prompt.store(prompt);
}

user_prompt& db_prompt()
{
    static silent_prompt nobody;
    user_prompt* prompt = installed_prompt.load();
    return prompt ? *prompt : nobody;
}
