// The generator monitor's waveform sketch: which shape each waveform name
// draws, and the levels of the output over the sketch's full scale for the
// output states, the device flag, clipping and values without a scale.
#include "config/monitor_sketch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "config/monitor_display.h"

namespace {

TEST(MonitorSketch, EveryWaveformNameHasItsShape)
{
    struct name_case {
        int type, option, waveform;
        monitor_shape shape;
    };
    const name_case cases[] = {
        {9, 0, 0, monitor_shape::sine},        {9, 0, 1, monitor_shape::square},
        {9, 0, 2, monitor_shape::triangle},    {9, 0, 3, monitor_shape::rising_saw},
        {9, 0, 4, monitor_shape::pulse},       {9, 0, 5, monitor_shape::noise},
        {7, 0, 1, monitor_shape::triangle},    {7, 0, 2, monitor_shape::square},
        {7, 0, 3, monitor_shape::falling_saw}, {7, 0, 4, monitor_shape::rising_saw},
        {7, 1, 1, monitor_shape::square},      {7, 1, 3, monitor_shape::sine},
    };
    for (const name_case& c : cases) {
        const char* name = monitor_waveform_name(c.type, c.option, c.waveform);
        EXPECT_EQ(monitor_shape_of(name), c.shape) << name;
    }
    EXPECT_EQ(monitor_shape_of("Square"), monitor_shape::square);  // unpadded
    EXPECT_EQ(monitor_shape_of("Squares"), monitor_shape::sine);
    EXPECT_EQ(monitor_shape_of(""), monitor_shape::sine);
    EXPECT_EQ(monitor_shape_of(nullptr), monitor_shape::sine);
}

s_monitor_values output(std::int16_t state, float peak, float offset, float ceiling = 10)
{
    s_monitor_values values;
    values.output_state = state;
    values.amplitude = peak;
    values.offset = offset;
    values.amplitude_ceiling = ceiling;
    return values;
}

TEST(MonitorSketch, LevelsFollowTheOutputOverTheFullScale)
{
    struct level_case {
        const char* what;
        s_monitor_values values;
        bool device_flag;
        monitor_shape shape;
        double lowest, highest;
    };
    const level_case cases[] = {
        {"off: flat at 0 whatever the settings", output(0, 0.5f, 0.25f), false, monitor_shape::sine, 0, 0},
        {"DC only: flat at the offset", output(2, 0.5f, 0.25f), false, monitor_shape::square, 0.25, 0.25},
        {"square on a 1 V scale", output(1, 0.5f, 0.25f), false, monitor_shape::square, -0.25, 0.75},
        {"phase reset draws as on", output(3, 0.5f, -0.25f), false, monitor_shape::pulse, -0.75, 0.25},
        {"the device flag halves the swing", output(1, 0.5f, 0), true, monitor_shape::square, -0.25, 0.25},
        {"2 V peak: 5 V scale", output(1, 2, 0), false, monitor_shape::triangle, -0.4, 0.4},
        {"beyond the ceiling: held at the edge", output(1, 8, 4), false, monitor_shape::square, -0.4, 1},
        {"an infinite peak: at both edges", output(1, std::numeric_limits<float>::infinity(), 0), false,
         monitor_shape::square, -1, 1},
    };
    for (const level_case& c : cases) {
        s_monitor_values values = c.values;
        values.device_flag = c.device_flag;
        const std::vector<double> levels = monitor_sketch_levels(values, c.shape, 201);
        ASSERT_EQ(levels.size(), 201u) << c.what;
        const auto [low, high] = std::minmax_element(levels.begin(), levels.end());
        EXPECT_NEAR(*low, c.lowest, 1e-9) << c.what;
        EXPECT_NEAR(*high, c.highest, 1e-9) << c.what;
    }
}

TEST(MonitorSketch, TwoPeriodsOfEachShape)
{
    const s_monitor_values values = output(1, 0.5f, 0);
    // Nine samples: every quarter period from the start to the end of the second.
    struct shape_case {
        monitor_shape shape;
        std::vector<double> levels;
    };
    const shape_case cases[] = {
        {monitor_shape::sine, {0, 0.5, 0, -0.5, 0, 0.5, 0, -0.5, 0}},
        {monitor_shape::square, {0.5, 0.5, -0.5, -0.5, 0.5, 0.5, -0.5, -0.5, 0.5}},
        {monitor_shape::triangle, {0, 0.5, 0, -0.5, 0, 0.5, 0, -0.5, 0}},
        {monitor_shape::rising_saw, {-0.5, -0.25, 0, 0.25, -0.5, -0.25, 0, 0.25, -0.5}},
        {monitor_shape::falling_saw, {0.5, 0.25, 0, -0.25, 0.5, 0.25, 0, -0.25, 0.5}},
        {monitor_shape::pulse, {0.5, -0.5, -0.5, -0.5, 0.5, -0.5, -0.5, -0.5, 0.5}},
    };
    for (const shape_case& c : cases) {
        const std::vector<double> levels = monitor_sketch_levels(values, c.shape, 9);
        ASSERT_EQ(levels.size(), c.levels.size());
        for (std::size_t i = 0; i < levels.size(); ++i) {
            EXPECT_NEAR(levels[i], c.levels[i], 1e-9) << static_cast<int>(c.shape) << " at " << i;
        }
    }
    // Noise is the same run on every redraw, and not flat.
    const std::vector<double> noise = monitor_sketch_levels(values, monitor_shape::noise, 64);
    EXPECT_EQ(noise, monitor_sketch_levels(values, monitor_shape::noise, 64));
    const auto [low, high] = std::minmax_element(noise.begin(), noise.end());
    EXPECT_LT(*low, -0.1);
    EXPECT_GT(*high, 0.1);
    EXPECT_GE(*low, -0.5);
    EXPECT_LE(*high, 0.5);
}

TEST(MonitorSketch, NothingToDrawWithoutAScale)
{
    EXPECT_TRUE(monitor_sketch_levels(output(1, 1, 0, 0), monitor_shape::sine, 50).empty());
    EXPECT_TRUE(monitor_sketch_levels(output(1, 1, 0), monitor_shape::sine, 1).empty());
    EXPECT_EQ(monitor_sketch_levels(output(1, 1, 0), monitor_shape::sine, 1000000).size(), 4096u);
}

}  // namespace
