#include "fra/sweep_import.h"

#include <cstdio>
#include <memory>

#include "app/text_file.h"
#include "fra/sweep_text_lines.h"

namespace {

// Lines are read with this limit while looking for a tab.
constexpr std::size_t detection_line_limit = 255;

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool file_holds_tab(std::FILE* file)
{
    sweep_line_reader reader(file, detection_line_limit);
    for (std::string line; reader.next(line);) {
        if (line.find('\t') != std::string::npos) {
            return true;
        }
    }
    return false;
}

}  // namespace

sweep_import_status import_sweep_file(const std::string& path, s_lcr_sweep& block, int& layout)
{
    // Binary mode: line ends are removed by the line reader on every platform.
    const std::unique_ptr<std::FILE, file_closer> file(open_program_file(path, "rb"));
    if (!file) {
        return sweep_import_status::cannot_open;
    }
    const bool tab_file = file_holds_tab(file.get());
    std::rewind(file.get());
    return tab_file ? read_sweep_tab(file.get(), block, layout) : read_sweep_csv(file.get(), block, layout);
}

bool import_sweep_text(const std::string& path, s_lcr_sweep& block, int& layout)
{
    return import_sweep_file(path, block, layout) == sweep_import_status::imported;
}

const char* sweep_import_status_text(sweep_import_status status)
{
    switch (status) {
    case sweep_import_status::imported:
        return "imported";
    case sweep_import_status::cannot_open:
        return "the file cannot be opened";
    case sweep_import_status::unknown_layout:
        return "a row has a number of columns that fits no sweep layout";
    case sweep_import_status::too_many_rows:
        static_assert(SWEEP_MAX_POINTS == 2000, "the text below names the limit");
        return "the file holds more than 2000 rows";
    }
    return "unknown import status";
}
