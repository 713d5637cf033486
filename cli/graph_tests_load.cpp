#include "graph_tests_load.h"

#include <cstdint>

#include "db/db_records.h"
#include "db_command_support.h"
#include "fra/test_plot_from_db.h"

bool load_graph_tests(const cli_context& context, const std::string& file, const std::vector<std::string>& numbers,
                      s_test_graph_state& graph, int& status)
{
    std::vector<std::int64_t> tests;
    for (const std::string& text : numbers) {
        std::int64_t number = 0;
        if (!parse_row_number(text, &number)) {
            status = cli_usage_error(context, "--test must be a whole number from 1 up, not " + text);
            return false;
        }
        tests.push_back(number);
    }
    status = CLI_FAILED;
    const database_scope scope(context);
    if (!open_existing_database(context, file)) {
        return false;
    }
    for (const std::int64_t number : tests) {
        s_db_test test;
        if (!load_db_test(context, file, number, true, test) || !add_test_plot(graph, test)) {
            return false;
        }
    }
    status = CLI_OK;
    return true;
}
