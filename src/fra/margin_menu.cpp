#include "fra/margin_menu.h"

#include "fra/plot_margins.h"

bool margin_menu_listed(const s_plot_appearance& look)
{
    return look.margins_found;
}

bool margins_hidden_enabled(const s_test_plot& plot)
{
    return plot.zero_db.count > 1 || plot.zero_phase.count > 1;
}

void toggle_gain_margin_visible(s_plot_appearance& look, test_graph_hooks& hooks)
{
    look.gain_margin_visible = !look.gain_margin_visible;
    hooks.redraw();
}

void toggle_phase_margin_visible(s_plot_appearance& look, test_graph_hooks& hooks)
{
    look.phase_margin_visible = !look.phase_margin_visible;
    hooks.redraw();
}

void toggle_margins_hidden(s_plot_appearance& look, test_graph_hooks& hooks)
{
    look.margins_hidden = !look.margins_hidden;
    hooks.lay_out_margin_labels();
    hooks.redraw();
}

void filter_noise(s_test_graph_state& graph, user_prompt& prompt, test_graph_hooks& hooks)
{
    const int selected = graph.selected_test;
    if (selected >= 0 && static_cast<std::size_t>(selected) < graph.tests.size() && graph.tests[selected] != nullptr &&
        graph.tests[selected]->zero_db.count == 0) {
        find_gain_phase_margins(graph, false, prompt, hooks);
    }
    for (const std::unique_ptr<s_test_plot>& plot : graph.tests) {
        if (plot != nullptr) {
            plot->appearance.band_mode = plot->appearance.band_mode == 1 ? 0 : 1;
        }
    }
    hooks.redraw();
}
