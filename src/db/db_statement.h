// Running statements of the access layer on the open connection: prepare,
// bind, step, reset and finalize. The result of a run is the code of the
// reset (the step's outcome), or of the prepare or a bind that failed first,
// or db_not_open.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

struct sqlite3_stmt;

struct s_db_value {
    enum class kind { text, real, integer } type;
    const char* text = nullptr;  // text: bound by length, so it needs no NUL
    std::size_t text_length = 0;
    double real = 0;
    int integer = 0;
};

// A text field of a record, bound up to its NUL or its full width. The
// record outlives the statement, so SQLite keeps no copy.
template <std::size_t N>
s_db_value db_text_value(const char (&field)[N])
{
    std::size_t length = 0;
    while (length < N && field[length] != '\0') {
        ++length;
    }
    return {s_db_value::kind::text, field, length};
}
inline s_db_value db_real_value(double value)
{
    return {s_db_value::kind::real, nullptr, 0, value};
}
inline s_db_value db_int_value(int value)
{
    return {s_db_value::kind::integer, nullptr, 0, 0, value};
}

// Runs sql once with the values bound to its parameters in order. When
// inserted_row is given and the statement succeeded, it receives the row
// number of the insert: the connection's lock is held throughout, so that
// number is read before another thread's insert can replace it.
int db_run_statement(const std::string& sql, std::initializer_list<s_db_value> values,
                     std::int64_t* inserted_row = nullptr);

// One statement prepared once and run many times (bind, step, reset),
// finalized when the object ends: for the points of a sweep, where
// preparing each insert afresh would cost more than the inserts.
class db_repeated_statement {
public:
    explicit db_repeated_statement(const std::string& sql);
    ~db_repeated_statement();
    db_repeated_statement(const db_repeated_statement&) = delete;
    db_repeated_statement& operator=(const db_repeated_statement&) = delete;
    // One run with the values bound in order.
    int run(std::initializer_list<s_db_value> values);

private:
    sqlite3_stmt* statement_ = nullptr;
    int prepare_code_;
};
