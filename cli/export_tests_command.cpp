// export tests --db DB --test ID [--test ID ...] --folder DIR [--number-format ...]
//
// The database view's "CSV" export: one text file per stored test in the
// folder, named after the test (numbered when the name is taken), in the
// number format given or stored. The paths written are printed.
#include <cstdio>
#include <filesystem>

#include "analysis_arguments.h"
#include "db/db_records.h"
#include "db_command_support.h"
#include "export/export_dialog_model.h"
#include "export_setup.h"
#include "export_tests_commands.h"

int run_export_tests(cli_context& context)
{
    s_number_format format;
    int status = CLI_OK;
    if (!take_export_number_format(context, format, status)) {
        return status;
    }
    s_analysis_words words;
    if (!parse_analysis_words(context, {{"--db", true, false}, {"--test", true, true}, {"--folder", true, false}},
                              0, words, status)) {
        return status;
    }
    if (!words.has("--db") || !words.has("--test") || !words.has("--folder")) {
        return cli_usage_error(context, "--db DB, --folder DIR and one --test ID or more are needed");
    }
    const std::vector<std::string>& given = words.values.at("--test");
    if (!export_test_count_usable(given.size())) {
        std::fprintf(context.err, "%s\n", EXPORT_NO_TESTS_TEXT);
        return CLI_FAILED;
    }
    std::vector<std::int64_t> tests;
    for (const std::string& text : given) {
        std::int64_t number = 0;
        if (!parse_row_number(text, &number)) {
            return cli_usage_error(context, "--test must be a whole number from 1 up, not " + text);
        }
        tests.push_back(number);
    }
    const std::string database = words.value("--db");
    const database_scope scope(context);
    if (!open_existing_database(context, database)) {
        return CLI_FAILED;
    }
    for (const std::int64_t number : tests) {
        s_db_test test;
        if (!load_db_test(context, database, number, false, test)) {
            return CLI_FAILED;
        }
    }
    const auto exporter = make_cli_export(context, format, "");
    std::error_code error;
    const std::string folder = words.value("--folder");
    if (std::filesystem::is_directory(folder, error)) {
        exporter->destination.chosen_folder = folder;
    }
    const std::vector<std::string> written = export_tests_text(*exporter->run, tests);
    for (const std::string& path : written) {
        std::fprintf(context.out, "%s\n", path.c_str());
    }
    return exporter->destination.chosen_folder ? CLI_OK : CLI_FAILED;
}
