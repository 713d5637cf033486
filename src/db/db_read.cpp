#include "db/db_read.h"

#include <sqlite3.h>

#include <cinttypes>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_points.h"
#include "db/db_format.h"
#include "db/db_text.h"

namespace {

// How much of a column text list mode keeps.
constexpr std::size_t list_text_length = 150;

// One row as SQLite's exec gives it: the column count and the texts.
using row_reader = std::function<void(int columns, char** texts)>;

int call_reader(void* reader, int columns, char** texts, char**)
{
    (*static_cast<const row_reader*>(reader))(columns, texts);
    return 0;
}

// Runs a query, handing each row to reader; a failure is reported with
// SQLite's text unless the caller reports it itself.
int read_rows(const std::string& sql, const row_reader& reader, bool report = true)
{
    sqlite3* connection = db_connection();
    if (connection == nullptr) {
        return db_not_open;
    }
    char* error = nullptr;
    const int code = sqlite3_exec(connection, sql.c_str(), call_reader, const_cast<row_reader*>(&reader), &error);
    if (code != SQLITE_OK && report) {
        db_report_error(error);
    }
    sqlite3_free(error);
    return code;
}

// How a row is read: for one record (its number checked) or for a listing,
// and whether tabs are dropped from its texts.
struct s_row_reading {
    bool list_mode;
    bool strip_tabs;
};

constexpr s_row_reading reading_for(bool list_mode)
{
    return {list_mode, list_mode};
}

s_row_reading reading_for(const db_list_target* list)
{
    return {true, list == nullptr || list->text_form() == db_list_text::tabs_removed};
}

// A field of a listing line in the target's form.
std::string list_field(const db_list_target& list, const char* text)
{
    return list.text_form() == db_list_text::escaped ? db_escape_list_text(text) : std::string(text);
}

// A column's text; "" for NULL or a column the row does not have.
std::string column_text(int columns, char** texts, int position, bool strip_tabs)
{
    if (position >= columns || texts[position] == nullptr) {
        return {};
    }
    std::string text = texts[position];
    if (strip_tabs) {
        std::erase(text, '\t');
        if (text.size() > list_text_length) {
            text.resize(list_text_length);
        }
    }
    return text;
}

template <std::size_t N>
void copy_text(char (&field)[N], const std::string& text)
{
    const std::size_t length = text.size() < N - 1 ? text.size() : N - 1;
    std::memcpy(field, text.data(), length);
    field[length] = '\0';
}

std::int64_t column_number(int columns, char** texts, int position)
{
    return std::strtoll(column_text(columns, texts, position, false).c_str(), nullptr, 10);
}

// The integer at offset of a date text "YYYY-MM-DD HH:MM:SS"; 0 when the
// text is shorter.
std::int32_t date_part(const std::string& date, std::size_t offset)
{
    return offset < date.size() ? static_cast<std::int32_t>(std::atoi(date.c_str() + offset)) : 0;
}

void read_session_row(s_db_session& session, int columns, char** texts, s_row_reading reading)
{
    const bool strip = reading.strip_tabs;
    const std::int64_t number = column_number(columns, texts, DB_SESSION_NUMBER);
    session.session_number = reading.list_mode || number == session.session_number ? number : -1;
    copy_text(session.name, column_text(columns, texts, DB_SESSION_NAME, strip));
    copy_text(session.unit, column_text(columns, texts, DB_SESSION_UNIT, strip));
    const std::string date = column_text(columns, texts, DB_SESSION_DATE, strip);
    session.year = date_part(date, 0);
    session.month = date_part(date, 5);
    session.day = date_part(date, 8);
    copy_text(session.location, column_text(columns, texts, DB_SESSION_LOCATION, strip));
    copy_text(session.performed_by, column_text(columns, texts, DB_SESSION_PERFORMED_BY, strip));
    copy_text(session.comments, column_text(columns, texts, DB_SESSION_COMMENTS, strip));
}

void read_test_row(s_db_test& test, int columns, char** texts, s_row_reading reading)
{
    const bool strip = reading.strip_tabs;
    const std::int64_t number = column_number(columns, texts, DB_TEST_NUMBER);
    test.test_number = reading.list_mode || number == test.test_number ? number : -1;
    test.session_number = column_number(columns, texts, DB_TEST_SESSION);
    copy_text(test.name, column_text(columns, texts, DB_TEST_NAME, strip));
    copy_text(test.winding, column_text(columns, texts, DB_TEST_WINDING, strip));
    copy_text(test.description, column_text(columns, texts, DB_TEST_DESCRIPTION, strip));
}

std::string select_row(db_table table, std::int64_t number)
{
    return db_format("SELECT * FROM %s WHERE %s=%" PRId64, db_table_name(table), db_column_sql(table, 0).c_str(),
                     number);
}

// "ORDER BY ..." for a sort column: INTEGER columns by value, others by
// upper-cased text. "" for a position outside the table's list.
std::string order_by(db_table table, int position, bool ascending)
{
    const std::string column = db_column_sql(table, position);
    if (column.empty()) {
        return {};
    }
    const bool integer = db_columns(table)[static_cast<std::size_t>(position)].integer;
    return db_format(integer ? " ORDER BY %s %s" : " ORDER BY UPPER(%s) %s", column.c_str(),
                     ascending ? "ASC" : "DESC");
}

// Appends the test's points, ascending in frequency.
int read_points(s_db_test& test)
{
    sqlite3* connection = db_connection();
    if (connection == nullptr) {
        return db_not_open;
    }
    const std::string sql =
        db_format("SELECT * FROM %s WHERE %s=%" PRId64 " ORDER BY %s ASC", db_table_name(db_table::data),
                  db_column_sql(db_table::data, DB_DATA_TEST).c_str(), test.test_number,
                  db_column_sql(db_table::data, DB_DATA_FREQUENCY).c_str());
    sqlite3_stmt* statement = nullptr;
    int code = sqlite3_prepare_v2(connection, sql.c_str(), -1, &statement, nullptr);
    while (code == SQLITE_OK) {
        const int step = sqlite3_step(statement);
        if (step != SQLITE_ROW) {
            code = step == SQLITE_DONE ? SQLITE_OK : step;
            break;
        }
        const s_db_point point{sqlite3_column_double(statement, DB_DATA_FREQUENCY),
                               sqlite3_column_double(statement, DB_DATA_AMPLITUDE),
                               sqlite3_column_double(statement, DB_DATA_PHASE)};
        if (db_add_point(test, point) != 0) {
            code = SQLITE_NOMEM;
            break;
        }
    }
    if (code == SQLITE_NOMEM) {
        db_report_error_code(code);  // the point array could not grow
    } else if (code != SQLITE_OK) {
        db_report_error(sqlite3_errmsg(connection));
    }
    sqlite3_finalize(statement);
    return code;
}

bool equal_ignoring_case(const char* a, const char* b, std::size_t limit)
{
    for (std::size_t i = 0; i < limit; ++i) {
        const unsigned char x = static_cast<unsigned char>(a[i]);
        const unsigned char y = static_cast<unsigned char>(b[i]);
        const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (lower(x) != lower(y)) {
            return false;
        }
        if (x == '\0') {
            return true;
        }
    }
    return true;
}

}  // namespace

int db_load_test(s_db_test& test, std::int64_t test_number, bool list_mode, bool with_points)
{
    db_free_points(test);
    test = s_db_test{};
    test.test_number = test_number;
    int rows = 0;
    int code = read_rows(select_row(db_table::test, test_number), [&](int columns, char** texts) {
        read_test_row(test, columns, texts, reading_for(list_mode));
        ++rows;
    });
    if (code != SQLITE_OK) {
        return code;
    }
    if (rows == 0) {
        return SQLITE_NOTFOUND;
    }
    s_db_session session;
    session.session_number = test.session_number;
    code = read_rows(select_row(db_table::session, test.session_number), [&](int columns, char** texts) {
        read_session_row(session, columns, texts, reading_for(list_mode));
    });
    if (code != SQLITE_OK) {
        return code;
    }
    test.year = session.year;
    test.month = session.month;
    test.day = session.day;
    return with_points ? read_points(test) : SQLITE_OK;
}

int db_get_session(s_db_session& session, bool list_mode)
{
    const std::int64_t number = session.session_number;
    session = s_db_session{};
    session.session_number = number;
    int rows = 0;
    const int code = read_rows(select_row(db_table::session, number), [&](int columns, char** texts) {
        read_session_row(session, columns, texts, reading_for(list_mode));
        ++rows;
    });
    if (code != SQLITE_OK) {
        return code;
    }
    return rows == 0 ? SQLITE_NOTFOUND : SQLITE_OK;
}

int db_check_session(std::int64_t session_number)
{
    int rows = 0;
    const int code = read_rows(select_row(db_table::session, session_number), [&](int, char**) { ++rows; }, false);
    if (code != SQLITE_OK) {
        return code;
    }
    return rows == 0 ? SQLITE_NOTFOUND : SQLITE_OK;
}

int db_list_sessions(db_list_target* list, int sort_column, bool ascending)
{
    const std::string order = order_by(db_table::session, sort_column, ascending);
    if (order.empty()) {
        return SQLITE_RANGE;
    }
    return read_rows(
        db_format("SELECT * FROM %s", db_table_name(db_table::session)) + order, [&](int columns, char** texts) {
            s_db_session session;
            read_session_row(session, columns, texts, reading_for(list));
            if (list != nullptr) {
                const std::string line =
                    db_format("%s\t%s\t%d/%d/%d\t%s", list_field(*list, session.name).c_str(),
                              list_field(*list, session.unit).c_str(), session.day, session.month, session.year,
                              list_field(*list, session.location).c_str());
                list->add_item(line.c_str(), session.session_number);
            }
        });
}

int db_list_tests(db_list_target* list, std::int64_t session_number, int sort_column, bool ascending)
{
    const std::string order = order_by(db_table::test, sort_column, ascending);
    if (order.empty()) {
        return SQLITE_RANGE;
    }
    return read_rows(db_format("SELECT * FROM %s WHERE %s=%" PRId64, db_table_name(db_table::test),
                               db_column_sql(db_table::test, DB_TEST_SESSION).c_str(), session_number) +
                         order,
                     [&](int columns, char** texts) {
                         s_db_test test;
                         read_test_row(test, columns, texts, reading_for(list));
                         if (list != nullptr) {
                             const std::string line = db_format("%s\t%s", list_field(*list, test.winding).c_str(),
                                                                list_field(*list, test.name).c_str());
                             list->add_item(line.c_str(), test.test_number);
                         }
                     });
}

int db_fill_combo(db_table table, int position, db_combo_target& combo)
{
    const std::string column = db_column_sql(table, position);
    if (column.empty()) {
        return SQLITE_RANGE;
    }
    return read_rows(
        db_format("SELECT %s FROM %s", column.c_str(), db_table_name(table)),
        [&](int columns, char** texts) { combo.add_string(column_text(columns, texts, 0, false).c_str()); });
}

std::int64_t db_find_session_by_name(const char* name)
{
    std::int64_t found = 0;
    if (name == nullptr) {
        return found;
    }
    read_rows(db_format("SELECT * FROM %s", db_table_name(db_table::session)), [&](int columns, char** texts) {
        if (found == 0 && equal_ignoring_case(column_text(columns, texts, DB_SESSION_NAME, false).c_str(), name,
                                              db_session_text_length)) {
            found = column_number(columns, texts, DB_SESSION_NUMBER);
        }
    });
    return found;
}
