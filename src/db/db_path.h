// Database file paths. The program holds paths as 8-bit Windows-1252 text;
// SQLite and the file system below it want UTF-8 (SQLite turns it into the
// wide path on Windows), so every path is converted here, once, before it
// reaches them. The same conversion names the file for the existence test and
// for deleting it, so all three always mean the same file.
#pragma once

#include <string>

#include "app/text_encoding.h"  // cp1252_to_utf8

// True when something (a file or a folder) exists at the path.
bool db_path_exists(const std::string& path);
// True when the path names an existing regular file.
bool db_file_exists(const std::string& path);
// Deletes the file; false when it could not be deleted.
bool db_remove_file(const std::string& path);
