#include "support/sqlite_file.h"

#include <sqlite3.h>

std::vector<std::string> sqlite_file_rows(const std::string& utf8_path, const std::string& sql)
{
    std::vector<std::string> rows;
    sqlite3* connection = nullptr;
    if (sqlite3_open_v2(utf8_path.c_str(), &connection, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(
            connection, sql.c_str(),
            [](void* out, int columns, char** texts, char**) {
                std::string row;
                for (int i = 0; i < columns; ++i) {
                    row += (i ? "|" : "") + std::string(texts[i] ? texts[i] : "");
                }
                static_cast<std::vector<std::string>*>(out)->push_back(row);
                return 0;
            },
            &rows, nullptr);
    }
    sqlite3_close(connection);
    return rows;
}

sqlite_file_lock::sqlite_file_lock(const std::string& utf8_path, const char* begin)
{
    if (sqlite3_open_v2(utf8_path.c_str(), &connection_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
        held_ = sqlite3_exec(connection_, begin, nullptr, nullptr, nullptr) == SQLITE_OK;
    }
}

sqlite_file_lock::~sqlite_file_lock()
{
    if (held_) {
        sqlite3_exec(connection_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    sqlite3_close(connection_);
}
