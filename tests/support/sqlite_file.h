// Reading a database file the way a user's own SQLite tool would: a read-only
// connection of the test's own, beside whatever the program holds open.
#pragma once

#include <string>
#include <vector>

// Every row of a query on the file (its UTF-8 path), columns joined by '|';
// NULL reads "". No rows when the file cannot be opened or the query fails.
std::vector<std::string> sqlite_file_rows(const std::string& utf8_path, const std::string& sql);

struct sqlite3;

// A connection of the test's own holding a lock on the file for its
// lifetime, as another program would: "BEGIN EXCLUSIVE" keeps every other
// connection from reading or writing the file, "BEGIN IMMEDIATE" from
// writing it.
class sqlite_file_lock {
public:
    sqlite_file_lock(const std::string& utf8_path, const char* begin);
    ~sqlite_file_lock();
    sqlite_file_lock(const sqlite_file_lock&) = delete;
    sqlite_file_lock& operator=(const sqlite_file_lock&) = delete;
    // True when the lock was taken.
    bool held() const { return held_; }

private:
    sqlite3* connection_ = nullptr;
    bool held_ = false;
};
