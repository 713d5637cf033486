// Reading a sweep text held in memory line by line. A line ends at LF, at
// CR LF or at a lone CR (old Macintosh line ends), so CR LF ends one line,
// not two; the line end is not part of the line. Text after the last line
// end is a line of its own; a line end at the very end starts none.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class sweep_line_reader {
public:
    explicit sweep_line_reader(std::string_view text) : text_(text) {}
    // The next line (without its line end); false at the end of the text.
    bool next(std::string_view& line);
    // The file's number of the line last returned, from 1.
    int line_number() const { return line_number_; }

private:
    std::string_view text_;
    std::size_t position_ = 0;
    int line_number_ = 0;
};

// The number (from 1) of the first line of text longer than limit
// characters, 0 when every line fits.
int first_line_longer_than(std::string_view text, std::size_t limit);

// True for a line holding nothing but spaces and tabs: neither a header nor a
// row, so the readers pass over it.
bool is_blank_line(std::string_view line);

// line split at every separator, empty fields kept: "1,,2" gives three fields,
// "" gives one empty field.
std::vector<std::string> split_fields(std::string_view line, char separator);
