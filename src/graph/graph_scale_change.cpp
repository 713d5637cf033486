#include "graph/graph_scale_change.h"

#include "graph/log_axis_limits.h"

void change_plot_axis_scale(s_graph_settings& record, int plot, std::int32_t scale, scale_change_source source)
{
    if (plot < 0 || plot >= GRAPH_PLOTS || record.axis_scale[plot] == scale) {
        return;
    }
    record.axis_scale[plot] = scale;
    const bool from_dialog = source == scale_change_source::settings_dialog;
    if (scale != AXIS_LOG && !from_dialog) {
        return;
    }
    record.pad_type[plot] = PAD_NONE;
    if (record.range[plot] == RANGE_CENTRE_0 || record.range[plot] == RANGE_NEAREST_0) {
        record.range[plot] = RANGE_AUTO;
    }
    if (record.range[plot] == RANGE_MANUAL && record.min[plot] < LOG_AXIS_LOWEST) {
        record.min[plot] = LOG_AXIS_LOWEST;
    }
    if (from_dialog) {
        record.range_flip[plot] = false;
    }
}

void change_horizontal_axis_scale(s_graph_settings& record, std::int32_t scale)
{
    record.x_axis_scale = scale;
}
