// combine --db DB --test A --test B [--test C] [--open-loop]
//
// The graph window's "Calculate Multiple Feedback Loop Response" on two or
// three stored tests: the combined response's points, paired by index, as
// frequency<TAB>gain<TAB>phase, closed loop unless --open-loop is given.
#include <cstdint>
#include <cstdio>
#include <string>

#include "analysis_arguments.h"
#include "analysis_commands.h"
#include "db_command_support.h"
#include "fra/combine_responses.h"
#include "graph/round_trip_text.h"
#include "graph_tests_load.h"
#include "tab_line.h"

int run_combine(cli_context& context)
{
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(context, {{"--db", true, false}, {"--test", true, true}, {"--open-loop", false, false}},
                              0, words, status)) {
        return status;
    }
    const std::vector<std::string> none;
    const std::vector<std::string>& numbers = words.has("--test") ? words.values.at("--test") : none;
    if (!words.has("--db") || numbers.size() < 2 || numbers.size() > 3) {
        return cli_usage_error(context, "--db DB and two or three --test ID are needed");
    }
    // The window combines only different plots: a test given twice is a
    // choice it would not combine.
    std::vector<std::int64_t> tests(numbers.size(), 0);
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        parse_row_number(numbers[i], &tests[i]);  // load_graph_tests refuses what does not read
        for (std::size_t j = 0; j < i; ++j) {
            if (tests[i] != 0 && tests[i] == tests[j]) {
                return cli_usage_error(context, "test " + numbers[i] + " is given twice");
            }
        }
    }
    s_test_graph_state graph;
    if (!load_graph_tests(context, words.value("--db"), numbers, graph, status)) {
        return status;
    }
    s_combined_response result;
    combine_responses(words.has("--open-loop"), graph.tests[0]->points, graph.tests[1]->points,
                      graph.tests.size() > 2 ? &graph.tests[2]->points : nullptr, result);
    for (const s_test_graph_point& point : result.points) {
        print_tab_line(context.out,
                       {round_trip_text(point.frequency), round_trip_text(point.gain), round_trip_text(point.phase)});
    }
    return CLI_OK;
}
