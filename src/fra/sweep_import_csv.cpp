// The comma reader of the sweep import (rules in sweep_import.h).
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fra/lcr_layout.h"
#include "fra/sweep_import_rows.h"
#include "fra/sweep_text_lines.h"
#include "graph/leading_number.h"

namespace {

constexpr std::string_view semicolon_kept_characters = "1234567890.E+-";

// atoi of the line is not 0 (read as strtol does, so a long number cannot
// overflow).
bool starts_with_nonzero_integer(std::string_view line)
{
    return std::strtol(std::string(line).c_str(), nullptr, 10) != 0;
}

// A ";" file writes decimal commas: "." (a thousands mark) is set aside, ","
// becomes the decimal mark, and everything that is not a digit, ".", "E",
// "+" or "-" goes, the set-aside marks included.
std::string semicolon_field_as_c_number(const std::string& field)
{
    std::string out;
    for (char c : field) {
        const char mapped = c == ',' ? '.' : (c == '.' ? '@' : c);
        if (semicolon_kept_characters.find(mapped) != std::string_view::npos) {
            out += mapped;
        }
    }
    return out;
}

double field_value(const std::string& field, char separator)
{
    const std::string text = separator == ';' ? semicolon_field_as_c_number(field) : field;
    return leading_number(text.data(), text.data() + text.size());
}

// Values in a row without its index column, and the layout they make.
bool layout_of_value_count(std::size_t values, std::string_view header, int& layout)
{
    switch (values) {
    case 8:
        layout = LCR_LAYOUT_BASIC;
        return true;
    case 13:
        layout = LCR_LAYOUT_FULL;
        return true;
    case 5:
        layout = header_names(header, 'Z') ? LCR_LAYOUT_IMPEDANCE : LCR_LAYOUT_ADMITTANCE;
        return true;
    default:
        return false;
    }
}

bool row_has_index_column(std::size_t fields)
{
    return fields != 8 && fields != 13 && fields != 5;
}

}  // namespace

sweep_import_result read_sweep_csv(std::string_view text, s_lcr_sweep& block, int& layout)
{
    sweep_line_reader reader(text);
    std::string_view header;
    std::string_view line;
    bool found = false;
    while (!found && reader.next(line)) {
        if (is_blank_line(line)) {
            continue;
        }
        if (starts_with_nonzero_integer(line)) {
            found = true;
        } else {
            header = line;
        }
    }
    if (!found) {
        block.points = 0;
        return {};
    }
    const char separator = split_fields(line, ';').size() >= 2 ? ';' : ',';
    int stored = 0;
    do {
        if (is_blank_line(line)) {
            continue;
        }
        const std::vector<std::string> fields = split_fields(line, separator);
        const std::size_t first_value = row_has_index_column(fields.size()) ? 1 : 0;
        const std::size_t values = fields.size() - first_value;
        if (!layout_of_value_count(values, header, layout)) {
            return {sweep_import_status::unknown_layout, reader.line_number()};
        }
        s_lcr_result point{};
        for (std::size_t i = 0; i < values; ++i) {
            point.value[i] = field_value(fields[first_value + i], separator);
            if (!std::isfinite(point.value[i])) {
                return {sweep_import_status::not_finite, reader.line_number(), static_cast<int>(first_value + i + 1)};
            }
        }
        const sweep_import_status stored_status = store_imported_point(block, stored, point);
        if (stored_status != sweep_import_status::imported) {
            return {stored_status, reader.line_number()};
        }
    } while (reader.next(line));
    block.points = stored;
    return {};
}
