#include "fra/sweep_import.h"

#include <string_view>

#include "fra/bounded_file_read.h"
#include "fra/sweep_import_rows.h"
#include "fra/sweep_text_lines.h"

namespace {

constexpr std::string_view utf8_byte_order_mark = "\xEF\xBB\xBF";

sweep_import_status status_of_read(file_read_status status)
{
    switch (status) {
    case file_read_status::read:
        return sweep_import_status::imported;
    case file_read_status::cannot_open:
        return sweep_import_status::cannot_open;
    case file_read_status::is_folder:
        return sweep_import_status::is_folder;
    case file_read_status::read_failed:
        return sweep_import_status::cannot_read;
    case file_read_status::too_large:
        return sweep_import_status::too_large;
    }
    return sweep_import_status::cannot_read;
}

std::string_view without_byte_order_mark(std::string_view text)
{
    if (text.substr(0, utf8_byte_order_mark.size()) == utf8_byte_order_mark) {
        text.remove_prefix(utf8_byte_order_mark.size());
    }
    return text;
}

}  // namespace

sweep_import_result import_sweep_file(const std::string& path, s_lcr_sweep& block, int& layout)
{
    std::string bytes;
    const file_read_status read = read_file_bounded(path, sweep_import_max_bytes, bytes);
    if (read != file_read_status::read) {
        return {status_of_read(read)};
    }
    return import_sweep_bytes(bytes, block, layout);
}

sweep_import_result import_sweep_bytes(std::string_view bytes, s_lcr_sweep& block, int& layout)
{
    const std::string_view text = without_byte_order_mark(bytes);
    if (const int line = first_line_longer_than(text, sweep_import_line_limit); line != 0) {
        return {sweep_import_status::line_too_long, line};
    }
    const bool tab_file = text.find('\t') != std::string_view::npos;
    return tab_file ? read_sweep_tab(text, block, layout) : read_sweep_csv(text, block, layout);
}

sweep_import_status sweep_import_status_of_read(file_read_status status)
{
    return status_of_read(status);
}

bool import_sweep_text(const std::string& path, s_lcr_sweep& block, int& layout)
{
    return import_sweep_file(path, block, layout).status == sweep_import_status::imported;
}

std::string sweep_import_result_text(const sweep_import_result& result)
{
    const std::string line = "line " + std::to_string(result.line);
    switch (result.status) {
    case sweep_import_status::imported:
        return "imported";
    case sweep_import_status::cannot_open:
        return "the file cannot be opened";
    case sweep_import_status::unknown_layout:
        return "a row has a number of columns that fits no sweep layout";
    case sweep_import_status::too_many_rows:
        static_assert(SWEEP_MAX_POINTS == 2000, "the text below names the limit");
        return "the file holds more than 2000 rows";
    case sweep_import_status::is_folder:
        return "it is a folder, not a file";
    case sweep_import_status::cannot_read:
        return "the file cannot be read";
    case sweep_import_status::too_large:
        static_assert(sweep_import_max_bytes == 4 * 1024 * 1024, "the text below names the limit");
        return "the file is larger than 4 MiB, too large for a sweep file";
    case sweep_import_status::line_too_long:
        return line + " is longer than " + std::to_string(sweep_import_line_limit) + " characters";
    case sweep_import_status::not_finite:
        return line + ", column " + std::to_string(result.column) + " holds a value that is not a finite number (NaN or infinity)";
    }
    return "unknown import status";
}
