#include "db/db_statement.h"

#include <sqlite3.h>

#include <limits>

#include "db/db_connection.h"
#include "db/db_error.h"

namespace {

// Holds the connection's own mutex (recursive in serialized mode).
class connection_lock {
public:
    explicit connection_lock(sqlite3* connection) : mutex_(sqlite3_db_mutex(connection))
    {
        sqlite3_mutex_enter(mutex_);
    }
    ~connection_lock() { sqlite3_mutex_leave(mutex_); }
    connection_lock(const connection_lock&) = delete;
    connection_lock& operator=(const connection_lock&) = delete;

private:
    sqlite3_mutex* mutex_;
};

int bind(sqlite3_stmt* statement, int index, const s_db_value& value)
{
    switch (value.type) {
        case s_db_value::kind::text:
            if (value.text_length > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
                return SQLITE_TOOBIG;
            }
            return sqlite3_bind_text(statement, index, value.text ? value.text : "",
                                     static_cast<int>(value.text_length), SQLITE_STATIC);
        case s_db_value::kind::real:
            return sqlite3_bind_double(statement, index, value.real);
        case s_db_value::kind::integer:
            break;
    }
    return sqlite3_bind_int(statement, index, value.integer);
}

// A failed step's code, noted with SQLite's words while the connection
// still holds them.
int noted(sqlite3* connection, int code)
{
    if (code != SQLITE_OK) {
        db_note_failure(connection, code);
    }
    return code;
}

// Binds the values in order and steps once; the code of the reset.
int bind_and_step(sqlite3_stmt* statement, std::initializer_list<s_db_value> values)
{
    sqlite3* connection = sqlite3_db_handle(statement);
    int index = 1;
    for (const s_db_value& value : values) {
        const int code = bind(statement, index++, value);
        if (code != SQLITE_OK) {
            sqlite3_reset(statement);
            return noted(connection, code);
        }
    }
    sqlite3_step(statement);
    return noted(connection, sqlite3_reset(statement));
}

int prepare(sqlite3* connection, const std::string& sql, sqlite3_stmt** statement)
{
    if (connection == nullptr) {
        return db_not_open;
    }
    return noted(connection, sqlite3_prepare_v2(connection, sql.c_str(), -1, statement, nullptr));
}

}  // namespace

int db_run_statement(const std::string& sql, std::initializer_list<s_db_value> values, std::int64_t* inserted_row)
{
    sqlite3* connection = db_connection();
    if (connection == nullptr) {
        return db_not_open;
    }
    const connection_lock hold(connection);
    sqlite3_stmt* statement = nullptr;
    int code = prepare(connection, sql, &statement);
    if (code == SQLITE_OK) {
        code = bind_and_step(statement, values);
    }
    if (code == SQLITE_OK && inserted_row != nullptr) {
        *inserted_row = sqlite3_last_insert_rowid(connection);
    }
    sqlite3_finalize(statement);
    return code;
}

db_repeated_statement::db_repeated_statement(const std::string& sql)
    : prepare_code_(prepare(db_connection(), sql, &statement_))
{
}

db_repeated_statement::~db_repeated_statement()
{
    sqlite3_finalize(statement_);
}

int db_repeated_statement::run(std::initializer_list<s_db_value> values)
{
    if (prepare_code_ != SQLITE_OK) {
        return prepare_code_;
    }
    sqlite3_clear_bindings(statement_);
    return bind_and_step(statement_, values);
}
