// The names of the files the exports write into a folder: one per stored
// test (named after the test) and one per sweep of a series (named after the
// sweep's time stamp). Characters that no file name may hold become spaces,
// and the name part is kept short enough for the folder's path to fit.
#pragma once

#include <functional>
#include <string>

// The name part's longest length, before ".txt" or a " (n)" number.
inline constexpr std::size_t EXPORT_NAME_PART_MAX = 120;

// text with \ / : ? " < > | * and every control character (below 0x20)
// replaced by a space, cut to EXPORT_NAME_PART_MAX characters.
std::string export_name_part(const std::string& text);

// A test's file in folder: "<name>.txt", or while that exists
// "<name> (1).txt" up to "<name> (98).txt"; the last is overwritten when all
// exist. exists answers whether a path is taken.
std::string test_export_path(const std::string& folder, const std::string& test_name,
                             const std::function<bool(const std::string&)>& exists);

// The n-th sweep of a series: "FRA sweep <n> <part>.txt" (or "LCR sweep"),
// the part being the time stamp "DD-MM-YYYY - hh:mm:ss" of the sweep data
// file's first line as "YYYY_MM_DD-hh_mm_ss", or the line itself (cleaned)
// when it is not one.
std::string repeat_export_file_name(bool fra, int number, const std::string& first_line);
