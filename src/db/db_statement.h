// Running one statement of the access layer on the open connection: prepare,
// bind, step, reset and finalize. The result is the code of the reset (the
// step's outcome), or of the prepare or a bind that failed first, or
// db_not_open. The connection's lock is held throughout, so the row number
// an insert made is read before another thread's insert can replace it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>

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

// Runs sql with the values bound to its parameters in order. When
// inserted_row is given and the statement succeeded, it receives the row
// number of the insert.
int db_run_statement(const std::string& sql, std::initializer_list<s_db_value> values,
                     std::int64_t* inserted_row = nullptr);
