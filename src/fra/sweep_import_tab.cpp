// The tab reader of the sweep import (rules in sweep_import.h).
//
// Numbers are read without touching the process's locale: a file written
// with decimal commas has its "," and "." exchanged and is then read as the
// C locale reads, which is exactly what a decimal-comma reading would take
// (the number ends at a ".", as it would at a "," in the C locale).
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "fra/lcr_layout.h"
#include "fra/sweep_import_rows.h"
#include "fra/sweep_text_lines.h"

namespace {

struct tab_layout {
    int values;
    int code;
};

// The number as the C library's strtod reads its leading part; false when
// the field does not begin with a number. The program's own text export puts
// an apostrophe before every cell in its Custom number format: it is passed
// over, so such a file reads back.
bool read_number(const std::string& field, bool decimal_comma, double& value)
{
    std::size_t start = field.find_first_not_of(" ");
    if (start != std::string::npos && field[start] == '\'') {
        ++start;
    }
    std::string text = start == std::string::npos ? std::string() : field.substr(start);
    if (decimal_comma) {
        for (char& c : text) {
            c = c == ',' ? '.' : (c == '.' ? ',' : c);
        }
    }
    char* end = nullptr;
    const double read = std::strtod(text.c_str(), &end);
    if (end == text.c_str()) {
        return false;
    }
    value = read;
    return true;
}

// Before the first row: a line whose first field does not read as a
// non-zero (finite) number is a header line.
bool is_first_row(const std::vector<std::string>& fields)
{
    double value = 0;
    return read_number(fields.front(), false, value) && std::isfinite(value) && value != 0;
}

bool layout_of_field_count(std::size_t fields, std::string_view header, tab_layout& layout)
{
    switch (fields) {
    case 6:
    case 8:
        layout = {5, header_names(header, 'Y') ? LCR_LAYOUT_ADMITTANCE : LCR_LAYOUT_IMPEDANCE};
        return true;
    case 9:
    case 11:
        layout = {8, LCR_LAYOUT_BASIC};
        return true;
    case 14:
    case 16:
        layout = {13, LCR_LAYOUT_FULL};
        return true;
    default:
        return false;
    }
}

}  // namespace

sweep_import_result read_sweep_tab(std::string_view text, s_lcr_sweep& block, int& layout)
{
    sweep_line_reader reader(text);
    std::string_view header;
    bool found = false;
    bool decimal_comma = false;
    tab_layout shape{};
    int stored = 0;
    s_lcr_result point{};  // zeroed once: a short row keeps the previous row's values
    for (std::string_view line; reader.next(line);) {
        if (is_blank_line(line)) {
            continue;
        }
        const std::vector<std::string> fields = split_fields(line, '\t');
        if (!found) {
            if (!is_first_row(fields)) {
                header = line;
                continue;
            }
            found = true;
            decimal_comma = line.find(',') != std::string_view::npos;
            if (!layout_of_field_count(fields.size(), header, shape)) {
                return {sweep_import_status::unknown_layout, reader.line_number()};
            }
            layout = shape.code;
        }
        const std::size_t values = std::min<std::size_t>(static_cast<std::size_t>(shape.values), fields.size() - 1);
        for (std::size_t i = 0; i < values; ++i) {
            double value = 0;
            if (!read_number(fields[i + 1], decimal_comma, value)) {
                continue;
            }
            if (!std::isfinite(value)) {
                return {sweep_import_status::not_finite, reader.line_number(), static_cast<int>(i + 2)};
            }
            point.value[i] = value;
        }
        const sweep_import_status stored_status = store_imported_point(block, stored, point);
        if (stored_status != sweep_import_status::imported) {
            return {stored_status, reader.line_number()};
        }
    }
    block.points = stored;
    return {};
}
