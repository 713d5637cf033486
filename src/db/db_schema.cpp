#include "db/db_schema.h"

#include <sqlite3.h>

#include "db/db_format.h"

namespace {

constexpr const char* table_names[db_table_count] = {"Session", "Test", "Data"};

constexpr s_db_column session_columns[] = {{"SessionNo", true}, {"Name", false},     {"Unit", false},
                                           {"Date", false},     {"Location", false}, {"Performed By", false},
                                           {"Comments", false}};
constexpr s_db_column test_columns[] = {
    {"TestNo", true}, {"SessionNo", true}, {"Name", false}, {"Winding", false}, {"TestDescription", false}};
constexpr s_db_column data_columns[] = {{"TestNo", true},   {"Frequency", true}, {"Amplitude", true},
                                        {"Graphed", false}, {"Range", true},     {"DataNo", true},
                                        {"Phase", true}};

// Widths of the text columns, in the order the table statements name them.
constexpr int session_name_width = 50;
constexpr int session_unit_width = 50;
constexpr int session_location_width = 50;
constexpr int session_performed_by_width = 70;
constexpr int session_comments_width = 150;
constexpr int test_name_width = 50;
constexpr int test_winding_width = 50;
constexpr int test_description_width = 100;

std::string column(db_table table, int position)
{
    return db_column_sql(table, position);
}

std::vector<std::string> session_statements()
{
    const char* t = db_table_name(db_table::session);
    auto c = [](int position) { return column(db_table::session, position); };
    return {
        db_format("CREATE TABLE %s ( %s INTEGER PRIMARY KEY, %s VARCHAR2(%d), %s VARCHAR2(%d), %s DATE, "
                  "%s VARCHAR2(%d), %s VARCHAR2(%d), %s VARCHAR2(%d))",
                  t, c(DB_SESSION_NUMBER).c_str(), c(DB_SESSION_NAME).c_str(), session_name_width,
                  c(DB_SESSION_UNIT).c_str(), session_unit_width, c(DB_SESSION_DATE).c_str(),
                  c(DB_SESSION_LOCATION).c_str(), session_location_width, c(DB_SESSION_PERFORMED_BY).c_str(),
                  session_performed_by_width, c(DB_SESSION_COMMENTS).c_str(), session_comments_width),
        db_format("CREATE UNIQUE INDEX Session_ID ON %s (%s)", t, c(DB_SESSION_NUMBER).c_str()),
    };
}

std::vector<std::string> test_statements()
{
    const char* t = db_table_name(db_table::test);
    auto c = [](int position) { return column(db_table::test, position); };
    return {
        db_format("CREATE TABLE %s ( %s INTEGER PRIMARY KEY, %s INTEGER DEFAULT 0, %s VARCHAR2(%d),"
                  "%s VARCHAR2(%d), %s VARCHAR2(%d))",
                  t, c(DB_TEST_NUMBER).c_str(), c(DB_TEST_SESSION).c_str(), c(DB_TEST_NAME).c_str(),
                  test_name_width, c(DB_TEST_WINDING).c_str(), test_winding_width, c(DB_TEST_DESCRIPTION).c_str(),
                  test_description_width),
        db_format("CREATE INDEX IF NOT EXISTS Test_ID ON %s (%s)", t, c(DB_TEST_SESSION).c_str()),
        db_format("CREATE INDEX IF NOT EXISTS TEST_INFO_ID ON %s (%s)", t, c(DB_TEST_SESSION).c_str()),
    };
}

std::vector<std::string> data_statements()
{
    const char* t = db_table_name(db_table::data);
    auto c = [](int position) { return column(db_table::data, position); };
    return {
        db_format("CREATE TABLE %s ( %s INTEGER NOT NULL DEFAULT 0, %s INTEGER DEFAULT 0, "
                  "%s INTEGER DEFAULT 0, %s BOOLEAN, %s INTEGER DEFAULT 0, %s INTEGER PRIMARY KEY, "
                  "%s INTEGER DEFAULT 0)",
                  t, c(DB_DATA_TEST).c_str(), c(DB_DATA_FREQUENCY).c_str(), c(DB_DATA_AMPLITUDE).c_str(),
                  c(DB_DATA_GRAPHED).c_str(), c(DB_DATA_RANGE).c_str(), c(DB_DATA_NUMBER).c_str(),
                  c(DB_DATA_PHASE).c_str()),
        db_format("CREATE INDEX IF NOT EXISTS Data_ID ON %s (%s)", t, c(DB_DATA_TEST).c_str()),
        db_format("CREATE INDEX IF NOT EXISTS Data_Info_ID ON %s (%s)", t, c(DB_DATA_TEST).c_str()),
    };
}

int exec(sqlite3* connection, const std::string& sql)
{
    return sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr);
}

// The column that is the table's INTEGER PRIMARY KEY: its row number.
int row_number_column(db_table table)
{
    return table == db_table::data ? DB_DATA_NUMBER : 0;
}

bool same_name(const char* a, const char* b)
{
    return sqlite3_stricmp(a, b) == 0;
}

// What reading a table's columns found.
struct s_table_check {
    int code = SQLITE_OK;  // of the PRAGMA itself
    bool matches = true;
};

// One row of PRAGMA table_info: cid, name, type, notnull, dflt_value, pk.
s_table_check check_table(sqlite3* connection, db_table table)
{
    const std::span<const s_db_column> columns = db_columns(table);
    const std::string sql = db_format("PRAGMA table_info(%s)", db_table_name(table));
    sqlite3_stmt* statement = nullptr;
    s_table_check check;
    check.code = sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr);
    std::size_t position = 0;
    while (check.code == SQLITE_OK) {
        const int step = sqlite3_step(statement);
        if (step != SQLITE_ROW) {
            check.code = step == SQLITE_DONE ? SQLITE_OK : step;
            break;
        }
        const auto text = [&](int column) {
            const unsigned char* value = sqlite3_column_text(statement, column);
            return value != nullptr ? reinterpret_cast<const char*>(value) : "";
        };
        const bool key = sqlite3_column_int(statement, 5) != 0;
        const bool wanted_key = static_cast<int>(position) == row_number_column(table);
        if (position >= columns.size() || !same_name(text(1), columns[position].name) || key != wanted_key ||
            (wanted_key && !same_name(text(2), "INTEGER"))) {
            check.matches = false;
        }
        ++position;
    }
    sqlite3_finalize(statement);
    // A missing table gives no rows at all.
    check.matches = check.matches && position == columns.size();
    return check;
}

}  // namespace

const char* db_table_name(db_table table)
{
    return table_names[static_cast<int>(table)];
}

std::span<const s_db_column> db_columns(db_table table)
{
    switch (table) {
        case db_table::session:
            return session_columns;
        case db_table::test:
            return test_columns;
        case db_table::data:
            break;
    }
    return data_columns;
}

std::string db_column_sql(db_table table, int position)
{
    const std::span<const s_db_column> columns = db_columns(table);
    if (position < 0 || static_cast<std::size_t>(position) >= columns.size()) {
        return {};
    }
    const std::string name = columns[static_cast<std::size_t>(position)].name;
    if (name.find(' ') != std::string::npos) {
        return '"' + name + '"';
    }
    return name;
}

std::vector<std::string> db_schema_statements(db_table table)
{
    switch (table) {
        case db_table::session:
            return session_statements();
        case db_table::test:
            return test_statements();
        case db_table::data:
            break;
    }
    return data_statements();
}

int db_create_schema(sqlite3* connection)
{
    for (const db_table table : {db_table::session, db_table::test, db_table::data}) {
        int code = exec(connection, "BEGIN TRANSACTION");
        if (code != SQLITE_OK) {
            return code;
        }
        std::vector<std::string> statements = db_schema_statements(table);
        statements.insert(statements.begin(), db_format("DROP TABLE IF EXISTS %s", db_table_name(table)));
        for (const std::string& statement : statements) {
            code = exec(connection, statement);
            if (code != SQLITE_OK) {
                exec(connection, "ROLLBACK TRANSACTION");
                return code;
            }
        }
        code = exec(connection, "COMMIT TRANSACTION");
        if (code != SQLITE_OK) {
            exec(connection, "ROLLBACK TRANSACTION");
            return code;
        }
    }
    return SQLITE_OK;
}

int db_check_schema(sqlite3* connection)
{
    bool matches = true;
    for (const db_table table : {db_table::session, db_table::test, db_table::data}) {
        const s_table_check check = check_table(connection, table);
        if (check.code != SQLITE_OK) {
            return check.code;
        }
        matches = matches && check.matches;
    }
    return matches ? SQLITE_OK : SQLITE_NOTADB;
}
