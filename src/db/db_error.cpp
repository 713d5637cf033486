#include "db/db_error.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "app/user_prompt.h"
#include "db/db_connection.h"

namespace {

struct s_error_text {
    int code;
    const char* text;
};

constexpr s_error_text error_texts[] = {
    {2, "SQL Internal Error"},
    {3, "Permission Denied!"},
    {4, "Routine Aborted"},
    {5, "Database file is locked"},
    {6, "Table is locked"},
    {7, "Not enough memory"},
    {8, "Database is Read Only"},
    {9, "Operation Terminated"},
    {10, "Database load error"},
    {11, "Corrupt Database"},
    {12, "Bad Command"},
    {13, "Databse Full!"},
    {14, "Unable to open Database file"},
    {15, "Protocol Error"},
    {16, "Operation cannot be done to an empty Database"},
    {17, "Database Schema Error"},
    {18, "The Value entered was too long!"},
    {19, "Constraint Violation"},
    {20, "Incorrect Data Type"},
    {21, "Library used Incorrectly"},
    {22, "Feature not supported"},
    {23, "Unable to receive Authorization"},
    {24, "Database Format Error"},
    {25, "Binding Error"},
    {26, "File selected is not a Database"},
};

// System errors behind an I/O failure that have a plain cause. The numbers
// are errno values, or GetLastError values on Windows (where SQLite's file
// layer takes them from).
struct s_system_cause {
    int number;
    const char* text;
};

#ifdef _WIN32
constexpr s_system_cause system_causes[] = {
    {5, "access is denied"},              // ERROR_ACCESS_DENIED
    {19, "the disk is write-protected"},  // ERROR_WRITE_PROTECT
    {39, "the disk is full"},             // ERROR_HANDLE_DISK_FULL
    {112, "the disk is full"},            // ERROR_DISK_FULL
};
#else
constexpr s_system_cause system_causes[] = {
    {EACCES, "access is denied"},
    {EROFS, "the file system is read-only"},
    {ENOSPC, "the disk is full"},
};
#endif

constexpr int io_error_code = 10;

struct s_noted_failure {
    std::mutex lock;
    s_db_failure failure;
};

s_noted_failure& noted()
{
    static s_noted_failure note;
    return note;
}

std::string general_words(int code)
{
    const char* words = sqlite3_errstr(code);
    return words != nullptr ? words : "";
}

bool same_ignoring_case(const std::string& a, const std::string& b)
{
    return a.size() == b.size() && sqlite3_strnicmp(a.c_str(), b.c_str(), static_cast<int>(a.size())) == 0;
}

const char* table_text(int code)
{
    for (const s_error_text& entry : error_texts) {
        if (entry.code == code) {
            return entry.text;
        }
    }
    return "Unknown Error";
}

void show(const std::string& text)
{
    db_prompt().tell(text.c_str(), db_error_caption, prompt_icon::warning);
}

}  // namespace

void db_note_failure(sqlite3* connection, int code)
{
    s_db_failure failure;
    failure.code = code & 0xFF;
    failure.words = general_words(code);
    if (connection != nullptr && (sqlite3_errcode(connection) & 0xFF) == failure.code) {
        failure.words = sqlite3_errmsg(connection);
        if (failure.code == SQLITE_IOERR || failure.code == SQLITE_CANTOPEN) {
            failure.system_error = sqlite3_system_errno(connection);
        }
    }
    s_noted_failure& note = noted();
    const std::lock_guard<std::mutex> hold(note.lock);
    note.failure = failure;
}

s_db_failure db_failure_for(int code)
{
    {
        s_noted_failure& note = noted();
        const std::lock_guard<std::mutex> hold(note.lock);
        if (note.failure.code == code && code != SQLITE_OK) {
            return note.failure;
        }
    }
    s_db_failure failure;
    failure.code = code;
    failure.words = general_words(code);
    return failure;
}

std::string db_failure_cause(const s_db_failure& failure)
{
    std::string cause = failure.words;
    for (const s_system_cause& entry : system_causes) {
        if (failure.system_error != 0 && entry.number == failure.system_error) {
            cause += std::string(cause.empty() ? "" : ": ") + entry.text;
        }
    }
    return cause;
}

std::string db_error_message(int code)
{
    const std::string cause = db_failure_cause(db_failure_for(code));
    const std::string first = code == io_error_code && !cause.empty() ? cause : table_text(code);
    std::string message = first + "\nError Code: " + std::to_string(code);
    if (!cause.empty() && !same_ignoring_case(cause, first)) {
        message += "\n" + cause;
    }
    return message;
}

void db_report_error(const char* error_text)
{
    if (error_text != nullptr) {
        show(std::string(error_text, strnlen(error_text, db_error_text_length)));
        return;
    }
    sqlite3* connection = db_connection();
    const int code = connection ? sqlite3_errcode(connection) : SQLITE_MISUSE;
    db_note_failure(connection, code);
    db_report_error_code(code);
}

void db_report_error_code(int code)
{
    show(db_error_message(code));
}
