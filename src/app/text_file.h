// Text files of the program are Windows-1252 with CR LF line ends on every
// platform: callers compose with "\n" and these helpers write CR LF, in
// binary mode so no runtime translates anything twice.
#pragma once

#include <cstdio>
#include <string>

// Opens the file the program's (Windows-1252) path names, in the C mode
// given: on Windows as the path stands (the system's code page), elsewhere by
// its UTF-8 name.
std::FILE* open_program_file(const std::string& path, const char* mode);

// text with every "\n" turned into "\r\n" (an existing "\r\n" is kept as is).
std::string to_crlf(const std::string& text);
// Appends text (converted to CR LF) to the file, creating it. False on failure.
bool append_text_file(const std::string& path, const std::string& text);
// Writes the file afresh with text (converted to CR LF). False on failure.
bool write_text_file(const std::string& path, const std::string& text);
