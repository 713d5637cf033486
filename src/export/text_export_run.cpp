#include "export/text_export_run.h"

#include <cstring>

#include "app/path_text.h"
#include "app/text_file.h"
#include "app/user_prompt.h"
#include "db/db_read.h"
#include "db/db_records.h"
#include "export/export_file_names.h"
#include "export/repeat_text_export.h"
#include "export/series_state.h"
#include "export/sweep_text_export.h"
#include "fra/sweep_data_file.h"

namespace {

constexpr const char* export_error_caption = "Excel Export Error";

void tell(user_prompt& prompt, const char* text, const char* caption)
{
    prompt.tell(text, caption, prompt_icon::information);
}

std::optional<std::string> read_whole_file(const std::string& path)
{
    std::FILE* file = open_program_file(path, "rb");
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string text;
    char buffer[65536];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
        text.append(buffer, n);
    }
    std::fclose(file);
    return text;
}

bool file_exists(const std::string& path)
{
    std::FILE* file = open_program_file(path, "rb");
    if (file != nullptr) {
        std::fclose(file);
    }
    return file != nullptr;
}

// The single sweeps' shared steps: the check, the choice, the file.
std::optional<std::string> export_single(s_export_run& run, bool has_data, const std::string& text)
{
    if (!has_data) {
        tell(run.prompt, "No Data to Export", export_error_caption);
        return std::nullopt;
    }
    const std::optional<std::string> path = run.destination.text_file();
    if (!path) {
        tell(run.prompt, "Unable to create CSV file", export_error_caption);
        return std::nullopt;
    }
    if (!write_text_file(*path, text)) {
        return std::nullopt;
    }
    return path;
}

std::optional<std::string> chosen_folder(s_export_run& run)
{
    std::optional<std::string> folder = run.destination.folder();
    if (!folder) {
        tell(run.prompt, "Invalid Directory Selected", "Error");
    }
    return folder;
}

std::vector<std::string> export_repeats(s_export_run& run, bool fra, int repeat_count, int repeat_done,
                                        const std::string& data_folder, int layout)
{
    std::vector<std::string> written;
    if (repeat_done != repeat_count) {
        tell(run.prompt, "No Data to Export", export_error_caption);
        return written;
    }
    const std::optional<std::string> folder = chosen_folder(run);
    if (!folder) {
        return written;
    }
    for (int n = 1; n <= repeat_count; ++n) {
        const std::optional<std::string> file_text = read_whole_file(sweep_file_path(data_folder, n));
        if (!file_text) {
            continue;
        }
        const std::string path =
            path_join(*folder, repeat_export_file_name(fra, n, sweep_file_first_line(*file_text)));
        if (!write_text_file(path, repeat_export_text(*file_text, fra, layout, run.preamble, run.punctuation))) {
            break;
        }
        written.push_back(path);
    }
    return written;
}

s_export_format single_sweep_format(const s_export_run& run)
{
    return {run.punctuation, run.custom_format};
}

}  // namespace

std::optional<std::string> export_fra_sweep_text(s_export_run& run, const s_fra_sweep& sweep, bool has_rows)
{
    return export_single(run, has_rows && fra_export_points(sweep) > 0,
                         fra_sweep_export_text(sweep, run.preamble, single_sweep_format(run)));
}

std::optional<std::string> export_lcr_sweep_text(s_export_run& run, const s_lcr_sweep& sweep, int layout)
{
    return export_single(run, lcr_export_points(sweep) > 0,
                         lcr_sweep_export_text(sweep, layout, false, run.preamble, single_sweep_format(run)));
}

std::optional<std::string> export_eis_sweep_text(s_export_run& run, const s_lcr_sweep& sweep, int layout,
                                                 bool has_rows)
{
    return export_single(run, has_rows && lcr_export_points(sweep) > 0,
                         lcr_sweep_export_text(sweep, layout, true, run.preamble, single_sweep_format(run)));
}

std::vector<std::string> export_fra_repeats_text(s_export_run& run, int repeat_count, int repeat_done,
                                                 const std::string& data_folder)
{
    return export_repeats(run, true, repeat_count, repeat_done, data_folder, 0);
}

std::vector<std::string> export_lcr_repeats_text(s_export_run& run, int repeat_count, int repeat_done,
                                                 const std::string& data_folder, int layout)
{
    return export_repeats(run, false, repeat_count, repeat_done, data_folder, layout);
}

std::vector<std::string> export_fra_repeats_text(s_export_run& run, const std::string& data_folder)
{
    const s_series_state& series = fra_series_state();
    return export_fra_repeats_text(run, series.repeat_count, series.repeat_done, data_folder);
}

std::vector<std::string> export_lcr_repeats_text(s_export_run& run, const std::string& data_folder, int layout)
{
    const s_series_state& series = lcr_series_state();
    return export_lcr_repeats_text(run, series.repeat_count, series.repeat_done, data_folder, layout);
}

std::vector<std::string> export_tests_text(s_export_run& run, const std::vector<std::int64_t>& tests)
{
    std::vector<std::string> written;
    if (tests.empty()) {
        return written;
    }
    const std::optional<std::string> folder = chosen_folder(run);
    if (!folder) {
        return written;
    }
    for (const std::int64_t number : tests) {
        s_db_test test;
        if (db_load_test(test, number, false, true) != 0 || test.count <= 0) {
            continue;
        }
        const std::string name(test.name, strnlen(test.name, sizeof test.name));
        const std::string path = test_export_path(*folder, name, file_exists);
        if (write_text_file(path, test_export_text(test, run.punctuation))) {
            written.push_back(path);
        }
    }
    return written;
}
