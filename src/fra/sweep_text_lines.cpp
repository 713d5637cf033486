#include "fra/sweep_text_lines.h"

bool sweep_line_reader::next(std::string& line)
{
    line.clear();
    if (file_ == nullptr || limit_ == 0) {
        return false;
    }
    bool read_any = false;
    while (line.size() < limit_) {
        const int c = std::fgetc(file_);
        if (c == EOF) {
            break;
        }
        read_any = true;
        if (c == '\n') {
            break;
        }
        line += static_cast<char>(c);
    }
    while (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return read_any;
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
