// Reading a sweep text file line by line with a length limit, as a fixed line
// buffer does: a line longer than the limit is taken in pieces of at most
// limit characters, each piece read as a line of its own. Line ends (LF, CR LF
// or a stray CR before the LF) are removed.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class sweep_line_reader {
public:
    sweep_line_reader(std::FILE* file, std::size_t limit) : file_(file), limit_(limit) {}
    // The next line (without its line end); false at the end of the file.
    bool next(std::string& line);

private:
    std::FILE* file_;
    std::size_t limit_;
};

// True for a line holding nothing but spaces and tabs: neither a header nor a
// row, so the readers pass over it.
bool is_blank_line(std::string_view line);

// line split at every separator, empty fields kept: "1,,2" gives three fields,
// "" gives one empty field.
std::vector<std::string> split_fields(std::string_view line, char separator);
