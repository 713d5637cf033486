// Field-by-field comparison of two graph settings records, naming the field
// that differs.
#pragma once

#include <gtest/gtest.h>

#include "graph/graph_settings.h"

inline void expect_same_graph_settings(const s_graph_settings& expected, const s_graph_settings& actual)
{
    for (int p = 0; p < GRAPH_PLOTS; ++p) {
        SCOPED_TRACE(p == PLOT_A ? "plot A" : "plot B");
        EXPECT_EQ(expected.axis_scale[p], actual.axis_scale[p]);
        EXPECT_EQ(expected.pad_type[p], actual.pad_type[p]);
        EXPECT_EQ(expected.pad_value[p], actual.pad_value[p]);
        EXPECT_EQ(expected.pad_percent[p], actual.pad_percent[p]);
        EXPECT_EQ(expected.range[p], actual.range[p]);
        EXPECT_EQ(expected.range_flip[p], actual.range_flip[p]);
        EXPECT_DOUBLE_EQ(expected.min[p], actual.min[p]);
        EXPECT_DOUBLE_EQ(expected.max[p], actual.max[p]);
        EXPECT_EQ(expected.colour[p], actual.colour[p]);
        EXPECT_EQ(expected.weight[p], actual.weight[p]);
        EXPECT_EQ(expected.cursor[p], actual.cursor[p]);
    }
    EXPECT_EQ(expected.x_axis_scale, actual.x_axis_scale);
    EXPECT_EQ(expected.x_pad_type, actual.x_pad_type);
    EXPECT_EQ(expected.x_pad_value, actual.x_pad_value);
    EXPECT_EQ(expected.x_pad_percent, actual.x_pad_percent);
    EXPECT_EQ(expected.x_range, actual.x_range);
    EXPECT_EQ(expected.x_range_flip, actual.x_range_flip);
    EXPECT_DOUBLE_EQ(expected.x_min, actual.x_min);
    EXPECT_DOUBLE_EQ(expected.x_max, actual.x_max);
    EXPECT_EQ(expected.bg_colour, actual.bg_colour);
}
