// Building file-system paths as text. Paths are held in std::string and only
// checked against the system's limit where they are handed to the system, so
// nothing is ever cut silently: a path that does not fit is refused whole.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#ifdef _WIN32
inline constexpr char path_separator = '\\';
#else
inline constexpr char path_separator = '/';
#endif

// The longest path the Windows file functions take (MAX_PATH less its NUL).
inline constexpr std::size_t max_system_path_length = 259;

// folder and name joined by exactly one separator (none added when folder
// already ends with one, name alone when folder is empty).
std::string path_join(const std::string& folder, const std::string& name);

// True when path is neither empty nor longer than max_system_path_length.
bool path_fits_system(const std::string& path);

// folder without a trailing separator, unless the separator is all that
// follows a drive ("C:\") or the folder is the root itself ("/").
std::string path_without_trailing_separator(const std::string& folder);

// The folders on the way to path's last part, outermost first: "C:\a\b\f.bmp" gives
// "C:\a" and "C:\a\b". Either separator counts; a drive ("C:") or
// the root alone is no folder to make.
std::vector<std::string> path_parent_folders(const std::string& path);
