#include "plot_impedance_command.h"

#include <cstdio>
#include <memory>

#include "analysis_input_load.h"
#include "app/settings.h"
#include "graph/graph_settings_file.h"
#include "impedance/impedance_plot.h"
#include "impedance/piezo_analysis.h"

namespace {

impedance_plot_kind plot_kind_of(int kind)
{
    switch (kind) {
    case PLOT_IMPEDANCE_LCR_NYQUIST:
        return impedance_plot_kind::lcr_nyquist;
    case PLOT_IMPEDANCE_EIS:
        return impedance_plot_kind::eis;
    case PLOT_IMPEDANCE_PIEZO:
        return impedance_plot_kind::piezo;
    default:
        return impedance_plot_kind::lcr_bode;
    }
}

}  // namespace

bool load_impedance_plot(const cli_context& context, int kind, const std::string& file, bool white,
                         impedance_plot_drawing& draw)
{
    int layout = 0;
    std::shared_ptr<const s_lcr_sweep> block = load_lcr_analysis_input(context, file, layout);
    if (!block) {
        return false;
    }
    const s_impedance_plot plot{plot_kind_of(kind), white};
    if (plot.kind == impedance_plot_kind::piezo) {
        if (const char* refusal = piezo_layout_refusal(layout)) {
            std::fprintf(context.err, "%s\n", refusal);
            return false;
        }
    }
    s_graph_settings settings{};
    const int settings_kind = impedance_plot_settings_kind(plot.kind);
    if (settings_kind >= 0) {
        // The settings folder as the program finds it at start.
        settings_load();
        load_graph_settings(settings, settings_kind);
    }
    draw = [block, layout, plot, settings](drawing_surface& surface, const s_rect& area) {
        // Each drawing starts from the record as loaded, as each paint of a
        // window starts from its live record.
        s_graph_settings live = settings;
        draw_impedance_plot(surface, area, plot, *block, layout, live);
    };
    return true;
}
