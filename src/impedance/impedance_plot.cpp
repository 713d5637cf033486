#include "impedance/impedance_plot.h"

#include "graph/autoscale_impedance.h"
#include "graph/lcr_bode_draw.h"
#include "graph/lcr_nyquist_draw.h"
#include "impedance/eis_analysis.h"
#include "impedance/eis_nyquist_draw.h"
#include "impedance/piezo_graph_draw.h"

namespace {

void draw_bode(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep, int layout,
               s_graph_settings& settings)
{
    const s_bode_rescale rescale =
        rescale_lcr_bode_graph(settings, sweep, IMPEDANCE_PLOT_A_VALUE, IMPEDANCE_PLOT_B_VALUE);
    s_lcr_bode_view view;
    view.layout = layout;
    view.plot_a_value = IMPEDANCE_PLOT_A_VALUE;
    view.plot_b_value = IMPEDANCE_PLOT_B_VALUE;
    view.cursor_a = rescale.cursor_point;
    view.cursor_b = rescale.cursor_point;
    draw_lcr_bode(surface, area, settings, sweep, view);
}

void draw_eis(drawing_surface& surface, const s_rect& area, const s_lcr_sweep& sweep, int layout,
              s_graph_settings& settings)
{
    eis_state state;
    eis_calculate(state, sweep, layout);
    s_eis_nyquist_view view;
    view.layout = layout;
    view.analysis = &state.result;
    draw_eis_nyquist(surface, area, settings, sweep, view);
}

}  // namespace

int impedance_plot_settings_kind(impedance_plot_kind kind)
{
    switch (kind) {
    case impedance_plot_kind::lcr_bode:
        return GRAPH_KIND_LCR_BODE;
    case impedance_plot_kind::lcr_nyquist:
        return GRAPH_KIND_LCR_NYQUIST;
    case impedance_plot_kind::eis:
        return GRAPH_KIND_EIS;
    case impedance_plot_kind::piezo:
        break;
    }
    return -1;
}

void draw_impedance_plot(drawing_surface& surface, const s_rect& area, const s_impedance_plot& plot,
                         const s_lcr_sweep& sweep, int layout, s_graph_settings& settings)
{
    surface.fill_rect(area, {brush_kind::white});
    if (plot.white) {
        settings.bg_colour = BACKGROUND_WHITE;
    }
    switch (plot.kind) {
    case impedance_plot_kind::lcr_bode:
        draw_bode(surface, area, sweep, layout, settings);
        break;
    case impedance_plot_kind::lcr_nyquist: {
        s_lcr_nyquist_view view;
        view.layout = layout;
        draw_lcr_nyquist(surface, area, settings, sweep, view);
        break;
    }
    case impedance_plot_kind::eis:
        draw_eis(surface, area, sweep, layout, settings);
        break;
    case impedance_plot_kind::piezo:
        if (plot.white) {
            draw_piezo_graph_picture(surface, area, sweep, s_piezo_grid{});
        } else {
            draw_piezo_graph(surface, area, sweep, s_piezo_grid{});
        }
        break;
    }
}
