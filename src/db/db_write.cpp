#include "db/db_write.h"

#include <sqlite3.h>

#include <algorithm>
#include <cinttypes>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "app/user_prompt.h"
#include "db/db_connection.h"
#include "db/db_error.h"
#include "db/db_read.h"
#include "db/db_schema.h"
#include "db/db_format.h"
#include "db/db_statement.h"

namespace {

std::string session_column(int position)
{
    return db_column_sql(db_table::session, position);
}

std::string test_column(int position)
{
    return db_column_sql(db_table::test, position);
}

// A positive row number as written into an insert, else "NULL" (SQLite chooses).
std::string row_number_text(std::int64_t number)
{
    return number > 0 ? db_format("%" PRId64, number) : std::string("NULL");
}

// The wait cursor for a scope.
class busy_cursor {
public:
    busy_cursor() { db_prompt().set_busy(true); }
    ~busy_cursor() { db_prompt().set_busy(false); }
    busy_cursor(const busy_cursor&) = delete;
    busy_cursor& operator=(const busy_cursor&) = delete;
};

int delete_rows(db_table table, int column, std::int64_t number)
{
    return db_run_statement(db_format("DELETE FROM %s WHERE %s=%" PRId64, db_table_name(table),
                                      db_column_sql(table, column).c_str(), number),
                            {});
}

// The insert of one point of a test; data number 0 lets SQLite choose it.
std::string point_insert_sql(std::int64_t test_number, std::int64_t data_number)
{
    return db_format("INSERT INTO %s VALUES (%" PRId64 ", ?, ?, ?, ?, %s, ?)", db_table_name(db_table::data),
                     test_number, row_number_text(data_number).c_str());
}

int run_point_insert(db_repeated_statement& insert, const s_db_point& point)
{
    return insert.run({db_real_value(point.frequency), db_real_value(point.amplitude), db_int_value(1),
                       db_int_value(0), db_real_value(point.phase)});
}

// Inserts the first count points of the test through one prepared
// statement; the first failure's code.
int insert_points(const s_db_test& test, int count, progress_reporter* progress)
{
    if (count == 0) {
        return SQLITE_OK;
    }
    db_repeated_statement insert(point_insert_sql(test.test_number, 0));
    for (int i = 0; i < count; ++i) {
        const int code = run_point_insert(insert, test.points[static_cast<std::size_t>(i)]);
        if (code != SQLITE_OK) {
            return code;
        }
        if (progress != nullptr) {
            progress->report(db_progress_step_command, i + 1, nullptr);
        }
    }
    return SQLITE_OK;
}

// The points a store may walk: never more than the record holds.
int storable_count(const s_db_test& test, int count)
{
    if (test.points == nullptr) {
        return 0;
    }
    return std::clamp(count, 0, test.count);
}

// Collects the item numbers a listing gives.
class number_collector final : public db_list_target {
public:
    void add_item(const char*, std::int64_t item) override { numbers.push_back(item); }
    std::vector<std::int64_t> numbers;
};

}  // namespace

int db_save_session(s_db_session& session, bool update)
{
    const char* table = db_table_name(db_table::session);
    const std::initializer_list<s_db_value> texts = {
        db_text_value(session.name), db_text_value(session.unit), db_text_value(session.location),
        db_text_value(session.performed_by), db_text_value(session.comments)};
    if (update) {
        return db_run_statement(
            db_format("UPDATE %s SET %s=?, %s=?, %s=DATETIME('%d-%02d-%02d 00:00:00'), %s=?, %s=?, %s=? "
                      "WHERE %s=%" PRId64,
                      table, session_column(DB_SESSION_NAME).c_str(), session_column(DB_SESSION_UNIT).c_str(),
                      session_column(DB_SESSION_DATE).c_str(), session.year, session.month, session.day,
                      session_column(DB_SESSION_LOCATION).c_str(), session_column(DB_SESSION_PERFORMED_BY).c_str(),
                      session_column(DB_SESSION_COMMENTS).c_str(), session_column(DB_SESSION_NUMBER).c_str(),
                      session.session_number),
            texts);
    }
    std::int64_t inserted = 0;
    const int code = db_run_statement(
        db_format("INSERT INTO %s VALUES (%s, ?, ?, DATETIME('%d-%02d-%02d 00:00:00'), ?, ?, ?)", table,
                  row_number_text(session.session_number).c_str(), session.year, session.month, session.day),
        texts, &inserted);
    if (code == SQLITE_OK) {
        session.session_number = inserted;
    }
    return code;
}

int db_save_test(s_db_test& test, bool update)
{
    if (!db_is_open()) {
        return db_not_open;
    }
    db_transaction transaction;
    const char* table = db_table_name(db_table::test);
    const std::initializer_list<s_db_value> texts = {db_text_value(test.name), db_text_value(test.winding),
                                                     db_text_value(test.description)};
    int code = SQLITE_OK;
    std::int64_t inserted = 0;
    if (update) {
        code = db_run_statement(
            db_format("UPDATE %s SET %s=?, %s=?, %s=? WHERE %s=%" PRId64, table, test_column(DB_TEST_NAME).c_str(),
                      test_column(DB_TEST_WINDING).c_str(), test_column(DB_TEST_DESCRIPTION).c_str(),
                      test_column(DB_TEST_NUMBER).c_str(), test.test_number),
            texts);
    } else {
        code = db_run_statement(db_format("INSERT INTO %s VALUES (%s, %" PRId64 ", ?, ?, ?)", table,
                                          row_number_text(test.test_number).c_str(), test.session_number),
                                texts, &inserted);
    }
    if (code != SQLITE_OK) {
        return code;  // the level ends with a rollback
    }
    code = transaction.commit();
    if (code == SQLITE_OK && !update) {
        test.test_number = inserted;
    }
    return code;
}

int db_insert_point(std::int64_t test_number, std::int64_t data_number, const s_db_point& point)
{
    db_repeated_statement insert(point_insert_sql(test_number, data_number));
    return run_point_insert(insert, point);
}

bool db_store_test_progress(s_db_test& test, int count, progress_reporter* progress)
{
    const busy_cursor busy;
    db_transaction transaction;
    int code = db_save_test(test, true);
    if (code == SQLITE_OK) {
        const int points = storable_count(test, count);
        if (progress != nullptr) {
            progress->report(PROGRESS_SET_RANGE, points, nullptr);
        }
        code = insert_points(test, points, progress);
    }
    if (code == SQLITE_OK) {
        code = transaction.commit();
    }
    if (code != SQLITE_OK) {
        db_report_error_code(code);
        return true;
    }
    return false;
}

bool db_store_test(s_db_test& test, int count)
{
    return db_store_test_progress(test, count, nullptr);
}

int db_save_new_test(s_db_test& test)
{
    return db_save_new_test_progress(test, nullptr);
}

int db_save_new_test_progress(s_db_test& test, progress_reporter* progress)
{
    if (!db_is_open()) {
        return db_not_open;
    }
    int code = db_check_session(test.session_number);
    if (code != SQLITE_OK) {
        return code;
    }
    db_transaction transaction;
    const std::int64_t number_given = test.test_number;
    code = db_save_test(test, false);
    if (code == SQLITE_OK) {
        code = insert_points(test, storable_count(test, test.count), progress);
    }
    if (code == SQLITE_OK) {
        code = transaction.commit();
    }
    if (code != SQLITE_OK) {
        test.test_number = number_given;
    }
    return code;
}

int db_delete_session(std::int64_t session_number)
{
    return delete_rows(db_table::session, DB_SESSION_NUMBER, session_number);
}

int db_delete_test(std::int64_t test_number)
{
    if (!db_is_open()) {
        return db_not_open;
    }
    db_transaction transaction;
    int code = delete_rows(db_table::test, DB_TEST_NUMBER, test_number);
    if (code == SQLITE_OK) {
        code = delete_rows(db_table::data, DB_DATA_TEST, test_number);
    }
    return code == SQLITE_OK ? transaction.commit() : code;
}

int db_delete_session_and_tests(std::int64_t session_number)
{
    if (!db_is_open()) {
        return db_not_open;
    }
    db_transaction transaction;
    number_collector tests;
    int code = db_list_tests(&tests, session_number, DB_TEST_NUMBER, true);
    for (std::size_t i = 0; code == SQLITE_OK && i < tests.numbers.size(); ++i) {
        code = db_delete_test(tests.numbers[i]);
    }
    if (code == SQLITE_OK) {
        code = db_delete_session(session_number);
    }
    return code == SQLITE_OK ? transaction.commit() : code;
}
