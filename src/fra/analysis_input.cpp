#include "fra/analysis_input.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fra/bounded_file_read.h"
#include "fra/sweep_text_lines.h"

namespace {

constexpr std::string_view time_stamp_form = "00-00-0000 - 00:00:00";  // 0 stands for a digit
constexpr std::size_t two_channel_fields = 7;
constexpr std::size_t three_channel_fields = 11;

// The file's text without a leading time stamp line; *skipped tells whether
// one was there.
std::string_view without_time_stamp(std::string_view text, bool* skipped)
{
    sweep_line_reader lines(text);
    std::string_view first;
    *skipped = lines.next(first) && is_sweep_time_stamp_line(first);
    if (!*skipped) {
        return text;
    }
    std::size_t rest = first.size();
    if (rest < text.size() && text[rest] == '\r') {
        ++rest;
    }
    if (rest < text.size() && text[rest] == '\n') {
        ++rest;
    }
    return text.substr(rest);
}

bool read_finite(const std::string& field, double& value)
{
    const char* start = field.c_str();
    char* end = nullptr;
    value = std::strtod(start, &end);
    if (end == start) {
        return false;
    }
    while (*end == ' ') {
        ++end;
    }
    return *end == '\0' && std::isfinite(value);
}

sweep_import_result read_fra_rows(std::string_view text, int line_offset, s_fra_sweep& block)
{
    sweep_line_reader lines(text);
    std::string_view line;
    bool three_channel = false;
    while (lines.next(line)) {
        if (is_blank_line(line)) {
            continue;
        }
        const int line_number = lines.line_number() + line_offset;
        const std::vector<std::string> fields = split_fields(line, '\t');
        const bool first_row = block.points == 0;
        if (first_row) {
            if (fields.size() != two_channel_fields && fields.size() != three_channel_fields) {
                return {sweep_import_status::unknown_layout, line_number};
            }
            three_channel = fields.size() == three_channel_fields;
        } else if (fields.size() != (three_channel ? three_channel_fields : two_channel_fields)) {
            return {sweep_import_status::unknown_layout, line_number};
        }
        if (block.points == SWEEP_MAX_POINTS) {
            return {sweep_import_status::too_many_rows, line_number};
        }
        s_fra_result& point = block.point[block.points];
        for (std::size_t i = 1; i < fields.size(); ++i) {
            double value = 0;
            if (!read_finite(fields[i], value)) {
                return {sweep_import_status::not_finite, line_number, static_cast<int>(i) + 1};
            }
            point.*fra_result_fields[i - 1] = value;
        }
        ++block.points;
    }
    block.channels = three_channel ? 3 : 2;
    block.is_type9 = three_channel ? 1 : 0;
    return {};
}

}  // namespace

bool is_sweep_time_stamp_line(std::string_view line)
{
    if (line.size() != time_stamp_form.size()) {
        return false;
    }
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool digit_wanted = time_stamp_form[i] == '0';
        const bool is_digit = std::isdigit(static_cast<unsigned char>(line[i])) != 0;
        if (digit_wanted ? !is_digit : line[i] != time_stamp_form[i]) {
            return false;
        }
    }
    return true;
}

sweep_import_result import_lcr_analysis_file(const std::string& path, s_lcr_sweep& block, int& layout)
{
    std::string bytes;
    const file_read_status read = read_file_bounded(path, sweep_import_max_bytes, bytes);
    if (read != file_read_status::read) {
        return {sweep_import_status_of_read(read)};
    }
    bool skipped = false;
    const std::string_view text = without_time_stamp(bytes, &skipped);
    sweep_import_result result = import_sweep_bytes(text, block, layout);
    if (skipped && result.line != 0) {
        ++result.line;
    }
    return result;
}

sweep_import_result import_fra_sweep_data_file(const std::string& path, s_fra_sweep& block)
{
    std::memset(&block, 0, sizeof block);
    std::string bytes;
    const file_read_status read = read_file_bounded(path, sweep_import_max_bytes, bytes);
    if (read != file_read_status::read) {
        return {sweep_import_status_of_read(read)};
    }
    if (const int line = first_line_longer_than(bytes, sweep_import_line_limit); line != 0) {
        return {sweep_import_status::line_too_long, line};
    }
    bool skipped = false;
    const std::string_view text = without_time_stamp(bytes, &skipped);
    const sweep_import_result result = read_fra_rows(text, skipped ? 1 : 0, block);
    if (result.status != sweep_import_status::imported) {
        block.points = 0;
    }
    return result;
}
