// Writing a file whole or not at all: what the tool's picture outputs use,
// so that a failure never leaves half a file where the user asked for one.
#pragma once

#include <functional>
#include <string>

// The writer fills a temporary file in the same folder (path + ".part"),
// which then takes the file's name, replacing a file already there. False
// when the writer fails or the rename does; the temporary file is removed
// then, and a file already at path is left as it was.
bool write_file_whole(const std::string& path, const std::function<bool(const std::string& temporary)>& write);

// The writer of write_file_whole for bytes held in memory (binary mode).
bool write_bytes_file(const std::string& path, const std::string& bytes);
