#include "db/db_connection.h"

#include <sqlite3.h>

#include <atomic>
#include <mutex>

#include "app/user_prompt.h"
#include "db/db_error.h"
#include "db/db_path.h"
#include "db/db_schema.h"
#include "db/db_format.h"

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

// Every table must be there: a file without them is no test database.
bool holds_the_tables(sqlite3* connection)
{
    for (const db_table table : {db_table::session, db_table::test, db_table::data}) {
        const std::string query =
            db_format("SELECT * FROM %s WHERE %s=1", db_table_name(table), db_column_sql(table, 0).c_str());
        if (sqlite3_exec(connection, query.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
            return false;
        }
    }
    return sqlite3_exec(connection, "", nullptr, nullptr, nullptr) == SQLITE_OK;
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
        db_exec("ROLLBACK TRANSACTION");
        return SQLITE_ABORT;
    }
    const int code = db_exec("COMMIT TRANSACTION");
    if (code != SQLITE_OK) {
        db_exec("ROLLBACK TRANSACTION");
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
        sqlite3_close(connection);
        db_report_error_code(code);
        return false;
    }
    if (create && db_create_schema(connection) != SQLITE_OK) {
        sqlite3_close(connection);
        db_remove_file(path);
        return false;
    }
    if (!holds_the_tables(connection)) {
        sqlite3_close(connection);
        return false;
    }
    forget_transaction();
    set_path(path);
    s_db_state& db = state();
    db.connection.store(connection);
    db.open.store(true);
    return true;
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
    return sqlite3_exec(connection, sql, nullptr, nullptr, nullptr);
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
