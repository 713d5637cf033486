#include "fra/plot_margins.h"

#include <climits>
#include <string>
#include <vector>

#include "app/program_identity.h"
#include "fra/crossing_search.h"
#include "fra/margin_band.h"

namespace {

LList<s_gain_phase_point>& crossings_of(s_test_plot& plot, crossing_kind kind)
{
    return kind == crossing_kind::zero_db ? plot.zero_db : plot.zero_phase;
}

// The run length of crossing k of found (see the header), in a plot of
// segments segments.
int run_length(const std::vector<s_crossing>& found, std::size_t k, crossing_kind kind, int segments)
{
    if (kind == crossing_kind::zero_db) {
        const int next = k + 1 < found.size() ? found[k + 1].segment : segments - 1;
        return next - found[k].segment;
    }
    const int previous = k > 0 ? found[k - 1].segment : -1;  // as if a crossing lay before segment 0
    return found[k].segment - previous;
}

void search_plot(s_test_plot& plot, crossing_kind kind)
{
    LList<s_gain_phase_point>& list = crossings_of(plot, kind);
    while (list.head != nullptr) {
        list.remove_head();
    }
    const int count = plot.points.size() > static_cast<std::size_t>(INT_MAX) ? INT_MAX
                                                                             : static_cast<int>(plot.points.size());
    const std::vector<s_crossing> found = find_crossings(plot.points.data(), count, kind);
    for (std::size_t k = 0; k < found.size(); ++k) {
        const s_crossing& crossing = found[k];
        const bool on_gain = kind == crossing_kind::zero_db;
        list.append({crossing.frequency, on_gain ? 0.0 : crossing.other, on_gain ? crossing.other : 0.0,
                     crossing.segment, run_length(found, k, kind, count - 1)});
    }
}

void mark_found(s_plot_appearance& look, crossing_kind kind)
{
    look.margins_found = true;
    if (kind == crossing_kind::zero_phase) {
        look.phase_margin_visible = true;
    }
}

void find_plot_points(s_test_graph_state& graph, crossing_kind kind, bool quiet, user_prompt& prompt)
{
    for (const std::unique_ptr<s_test_plot>& plot : graph.tests) {
        if (plot == nullptr || plot->points.empty()) {
            continue;
        }
        search_plot(*plot, kind);
        if (crossings_of(*plot, kind).count > 0) {
            mark_found(plot->appearance, kind);
        } else if (!quiet) {
            prompt.tell(plot_no_crossing_text(*plot, kind).c_str(), program_name, prompt_icon::information);
        }
    }
}

}  // namespace

std::string plot_no_crossing_text(const s_test_plot& plot, crossing_kind kind)
{
    return "On " + plot.name + ": \n" + no_crossing_text(kind);
}

void find_plot_zero_db_points(s_test_graph_state& graph, bool quiet, user_prompt& prompt)
{
    find_plot_points(graph, crossing_kind::zero_db, quiet, prompt);
}

void find_plot_zero_phase_points(s_test_graph_state& graph, bool quiet, user_prompt& prompt)
{
    find_plot_points(graph, crossing_kind::zero_phase, quiet, prompt);
}

void find_gain_phase_margins(s_test_graph_state& graph, bool quiet, user_prompt& prompt, test_graph_hooks& hooks)
{
    find_plot_zero_db_points(graph, quiet, prompt);
    find_plot_zero_phase_points(graph, quiet, prompt);
    for (const std::unique_ptr<s_test_plot>& plot : graph.tests) {
        if (plot != nullptr) {
            compute_margin_band(*plot);
        }
    }
    hooks.rebuild_menus();
    hooks.lay_out_margin_labels();
    hooks.redraw();
}
