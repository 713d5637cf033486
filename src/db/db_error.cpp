#include "db/db_error.h"

#include <sqlite3.h>

#include <cstdio>
#include <cstring>

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

void show(const std::string& text)
{
    db_prompt().tell(text.c_str(), db_error_caption, prompt_icon::warning);
}

}  // namespace

std::string db_error_message(int code)
{
    const char* text = "Unknown Error";
    for (const s_error_text& entry : error_texts) {
        if (entry.code == code) {
            text = entry.text;
        }
    }
    char message[128];
    std::snprintf(message, sizeof message, "%s\nError Code: %d", text, code);
    return message;
}

void db_report_error(const char* error_text)
{
    if (error_text != nullptr) {
        show(std::string(error_text, strnlen(error_text, db_error_text_length)));
        return;
    }
    sqlite3* connection = db_connection();
    db_report_error_code(connection ? sqlite3_errcode(connection) : SQLITE_MISUSE);
}

void db_report_error_code(int code)
{
    show(db_error_message(code));
}
