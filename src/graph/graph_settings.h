// The settings of one impedance graph: which scale, range, padding, reversal,
// colour, weight and cursor each axis has. One live record follows the view
// (its kind); the record is copied as a whole (the settings dialog keeps a
// copy to put back on Cancel).
#pragma once

#include <cstdint>

// Graph kinds of the impedance family, each with its own settings file.
enum graph_kind : int {
    GRAPH_KIND_LCR_BODE = 0,
    GRAPH_KIND_LCR_NYQUIST = 1,
    GRAPH_KIND_EIS = 2,
};
inline constexpr int GRAPH_KIND_COUNT = 3;

// Plot A (left axis) and plot B (right axis).
inline constexpr int PLOT_A = 0;
inline constexpr int PLOT_B = 1;
inline constexpr int GRAPH_PLOTS = 2;

// axis_scale and x_axis_scale.
inline constexpr std::int32_t AXIS_LOG = 0;
inline constexpr std::int32_t AXIS_LINEAR = 1;

// pad_type and x_pad_type: which ends are padded. For the value axes 1 is the
// top and 2 the bottom; for the horizontal axis 1 is the left and 2 the right.
inline constexpr std::int32_t PAD_BOTH = 0;
inline constexpr std::int32_t PAD_FIRST_END = 1;
inline constexpr std::int32_t PAD_SECOND_END = 2;
inline constexpr std::int32_t PAD_NONE = 3;

// range and x_range.
inline constexpr std::int32_t RANGE_AUTO = 0;
inline constexpr std::int32_t RANGE_CENTRE_0 = 1;
inline constexpr std::int32_t RANGE_NEAREST_0 = 2;
inline constexpr std::int32_t RANGE_MANUAL = 3;

// weight: 0 thin (1 pixel), 1 medium (2 pixels), 2 thick (3 pixels).
inline constexpr std::int32_t WEIGHT_THIN = 0;
inline constexpr std::int32_t WEIGHT_MEDIUM = 1;
inline constexpr std::int32_t WEIGHT_THICK = 2;

// bg_colour.
inline constexpr std::int32_t BACKGROUND_BLACK = 0;
inline constexpr std::int32_t BACKGROUND_WHITE = 1;

struct s_graph_settings {
    std::int32_t axis_scale[GRAPH_PLOTS];
    std::int32_t pad_type[GRAPH_PLOTS];
    std::int32_t pad_value[GRAPH_PLOTS];   // a percentage when pad_percent, else axis units
    bool pad_percent[GRAPH_PLOTS];
    std::int32_t range[GRAPH_PLOTS];
    bool range_flip[GRAPH_PLOTS];          // the axis is drawn reversed
    double min[GRAPH_PLOTS];
    double max[GRAPH_PLOTS];
    std::int32_t colour[GRAPH_PLOTS];      // a colour value 0x00BBGGRR
    std::int32_t weight[GRAPH_PLOTS];
    bool cursor[GRAPH_PLOTS];              // the plot's cursor marker and read-out are shown
    std::int32_t x_axis_scale;
    std::int32_t x_pad_type;
    std::int32_t x_pad_value;
    bool x_pad_percent;
    std::int32_t x_range;
    bool x_range_flip;
    double x_min;
    double x_max;
    std::int32_t bg_colour;
};
