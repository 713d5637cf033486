#include "fra/sweep_text_lines.h"

bool sweep_line_reader::next(std::string_view& line)
{
    if (position_ >= text_.size()) {
        line = {};
        return false;
    }
    const std::size_t end = text_.find_first_of("\r\n", position_);
    if (end == std::string_view::npos) {
        line = text_.substr(position_);
        position_ = text_.size();
    } else {
        line = text_.substr(position_, end - position_);
        const bool crlf = text_[end] == '\r' && end + 1 < text_.size() && text_[end + 1] == '\n';
        position_ = end + (crlf ? 2 : 1);
    }
    ++line_number_;
    return true;
}

int first_line_longer_than(std::string_view text, std::size_t limit)
{
    sweep_line_reader reader(text);
    for (std::string_view line; reader.next(line);) {
        if (line.size() > limit) {
            return reader.line_number();
        }
    }
    return 0;
}

bool is_blank_line(std::string_view line)
{
    return line.find_first_not_of(" \t") == std::string_view::npos;
}

std::vector<std::string> split_fields(std::string_view line, char separator)
{
    std::vector<std::string> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(separator, start);
        if (end == std::string_view::npos) {
            fields.emplace_back(line.substr(start));
            return fields;
        }
        fields.emplace_back(line.substr(start, end - start));
        start = end + 1;
    }
}
