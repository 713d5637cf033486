// Reading a database file the way a user's own SQLite tool would: a read-only
// connection of the test's own, beside whatever the program holds open.
#pragma once

#include <string>
#include <vector>

// Every row of a query on the file (its UTF-8 path), columns joined by '|';
// NULL reads "". No rows when the file cannot be opened or the query fails.
std::vector<std::string> sqlite_file_rows(const std::string& utf8_path, const std::string& sql);
