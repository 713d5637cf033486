// margins FILE
// margins --db DB --test ID [--test ID ...]
//
// With a sweep data file: the FRA view's "Find Gain/Phase Margin", printing
// the texts of its two message boxes, the 0 dB search first.
// With a test database: the graph window's "Find Gain/Phase Margins" over up
// to nine tests. For each test its name, then each 0 dB crossing as
// 0dB<TAB>frequency<TAB>gain<TAB>phase<TAB>segment<TAB>run_length (or the
// window's "On NAME:" text when there is none), the 0 degree crossings the
// same way with 0deg, and band<TAB>low<TAB>high when its band was found.
#include <cstdio>
#include <string>

#include "analysis_arguments.h"
#include "analysis_commands.h"
#include "analysis_input_load.h"
#include "fra/fra_view_margins.h"
#include "fra/plot_margins.h"
#include "graph/round_trip_text.h"
#include "graph_tests_load.h"
#include "tab_line.h"

namespace {

// A message box's text as lines of the terminal.
void print_message(std::FILE* out, const std::string& text)
{
    std::fputs(text.c_str(), out);
    if (text.empty() || text.back() != '\n') {
        std::fputc('\n', out);
    }
}

int run_sweep_file_margins(cli_context& context, const std::string& file)
{
    const auto sweep = load_fra_analysis_input(context, file);
    if (!sweep) {
        return CLI_FAILED;
    }
    print_message(context.out, zero_db_points_text(*sweep));
    print_message(context.out, zero_phase_points_text(*sweep));
    return CLI_OK;
}

void print_crossings(std::FILE* out, const s_test_plot& plot, crossing_kind kind)
{
    const LList<s_gain_phase_point>& list = kind == crossing_kind::zero_db ? plot.zero_db : plot.zero_phase;
    if (list.count == 0) {
        print_message(out, plot_no_crossing_text(plot, kind));
        return;
    }
    for (const LList<s_gain_phase_point>::node* at = list.head; at != nullptr; at = at->next) {
        const s_gain_phase_point& crossing = *at->element;
        print_tab_line(out, {kind == crossing_kind::zero_db ? "0dB" : "0deg", round_trip_text(crossing.frequency),
                             round_trip_text(crossing.gain), round_trip_text(crossing.phase),
                             std::to_string(crossing.segment), std::to_string(crossing.run_length)});
    }
}

int run_database_margins(cli_context& context, const s_analysis_words& words)
{
    const std::vector<std::string>& numbers = words.values.at("--test");
    if (numbers.size() > static_cast<std::size_t>(TEST_GRAPH_MAX_TESTS)) {
        return cli_usage_error(context, "at most " + std::to_string(TEST_GRAPH_MAX_TESTS) + " tests are graphed");
    }
    s_test_graph_state graph;
    int status = CLI_OK;
    if (!load_graph_tests(context, words.value("--db"), numbers, graph, status)) {
        return status;
    }
    // Quiet: the texts of plots without crossings are printed in their place.
    no_test_graph_hooks hooks;
    silent_prompt prompt;
    find_gain_phase_margins(graph, true, prompt, hooks);
    for (const auto& plot : graph.tests) {
        std::fprintf(context.out, "%s\n", plot->name.c_str());
        print_crossings(context.out, *plot, crossing_kind::zero_db);
        print_crossings(context.out, *plot, crossing_kind::zero_phase);
        if (plot->appearance.band_found) {
            print_tab_line(context.out, {"band", std::to_string(plot->appearance.band_low),
                                         std::to_string(plot->appearance.band_high)});
        }
    }
    return CLI_OK;
}

}  // namespace

int run_margins(cli_context& context)
{
    s_analysis_words words;
    int status = CLI_OK;
    if (!parse_analysis_words(context, {{"--db", true, false}, {"--test", true, true}}, 1, words, status)) {
        return status;
    }
    const bool database = words.has("--db") || words.has("--test");
    if (database && (!words.files.empty() || !words.has("--db") || !words.has("--test"))) {
        return cli_usage_error(context, "give a sweep file, or --db DB with one --test ID or more");
    }
    if (!database && words.files.empty()) {
        return cli_usage_error(context, "a sweep file or --db DB --test ID is needed");
    }
    return database ? run_database_margins(context, words) : run_sweep_file_margins(context, words.files.front());
}
