// Reading a whole file into memory in one pass with a size bound, so that
// neither a huge file nor an endless one (a device such as /dev/zero) is read
// without end: at most max_bytes + 1 bytes are read, and a file holding more
// is refused. The file is read once from its start and never rewound, so a
// pipe (/dev/stdin) reads exactly as a file on disk does.
#pragma once

#include <cstddef>
#include <string>

enum class file_read_status {
    read,         // bytes holds the whole file
    cannot_open,  // the file cannot be opened
    is_folder,    // the path names a folder, not a file
    read_failed,  // reading stopped at an error before the end
    too_large,    // the file holds more than max_bytes bytes
};

// Reads the file the program's (Windows-1252) path names, in binary mode.
// bytes is set only when the status is `read`.
file_read_status read_file_bounded(const std::string& path, std::size_t max_bytes, std::string& bytes);

// True when the program's path names an existing folder.
bool path_is_folder(const std::string& path);
