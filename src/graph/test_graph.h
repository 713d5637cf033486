// The test graph: the Bode graph of up to nine stored FRA tests, its window
// state, each test's appearance and margin crossings, and the combined
// (multiple feedback loop) response. Nothing of it is persisted.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fra/llist.h"

inline constexpr int TEST_GRAPH_MAX_TESTS = 9;

// One point of a plotted test, as loaded from the test database (ascending
// frequency): Hz, dB, degrees.
struct s_test_graph_point {
    double frequency;
    double gain;
    double phase;
};

// A gain (0 dB) or phase (0 degree) crossing found by the margin search.
// A 0 dB crossing has gain 0 and the interpolated phase; a 0 degree crossing
// the interpolated gain and phase 0. `segment` is the index j of the segment
// between points j and j + 1 holding the crossing.
struct s_gain_phase_point {
    double frequency;
    double gain;
    double phase;
    std::int32_t segment;
    std::int32_t run_length;
};

// How one test is drawn, and what the margin search has set for it.
struct s_plot_appearance {
    bool margins_found;
    bool band_found;
    bool gain_visible;
    bool phase_visible;
    bool gain_margin_visible;
    bool phase_margin_visible;
    bool margins_hidden;
    std::int32_t band_mode;  // 1 the whole axis; 0 the curves only between band_low and band_high
    std::int32_t band_low;   // whole hertz
    std::int32_t band_high;
    std::int32_t gain_weight;   // pen width 1 thin, 2 regular, 3 thick
    std::int32_t phase_weight;
    std::int32_t gain_colour_index;   // 0 to 18 into the graph colour table
    std::int32_t phase_colour_index;
    std::int32_t gain_margin_colour;  // 0 black, 1 white, 2 custom
    std::int32_t phase_margin_colour;
    std::int32_t gain_custom_colour;
    std::int32_t phase_custom_colour;
    std::int32_t gain_margin_custom_colour;
    std::int32_t phase_margin_custom_colour;
};

// One plotted test with its crossings. The lists are emptied when the graph
// window closes (the plot's end).
struct s_test_plot {
    std::string name;
    std::vector<s_test_graph_point> points;
    s_plot_appearance appearance;
    LList<s_gain_phase_point> zero_db;     // 0 dB crossings, in the order found
    LList<s_gain_phase_point> zero_phase;  // 0 degree crossings
};

// The result of combining two or three responses; `present` is false when no
// usable choice was made (the result plot is removed).
struct s_combined_response {
    bool present = false;
    std::vector<s_test_graph_point> points;
};

inline constexpr std::int32_t TEST_RANGE_AUTO = 0;
inline constexpr std::int32_t TEST_RANGE_MANUAL = 1;
inline constexpr std::int32_t TEST_RANGE_CENTRE_0DB = 2;  // gain only

inline constexpr std::int32_t TEST_BACKGROUND_BLACK = 0;
inline constexpr std::int32_t TEST_BACKGROUND_WHITE = 1;
inline constexpr std::int32_t TEST_BACKGROUND_CUSTOM = 2;

// The test graph window's state. Plots are held by pointer-stable storage
// because each owns its crossing lists, which cannot be moved.
struct s_test_graph_state {
    std::vector<std::unique_ptr<s_test_plot>> tests;  // at most TEST_GRAPH_MAX_TESTS
    double frequency_min = 0;
    double frequency_max = 0;
    std::int32_t frequency_range_mode = TEST_RANGE_AUTO;
    double gain_min = 0;
    double gain_max = 0;
    std::int32_t gain_range_mode = TEST_RANGE_AUTO;
    bool log_frequency = true;
    std::int32_t background_mode = TEST_BACKGROUND_BLACK;
    std::int32_t background_custom_colour = 0;
    bool show_gain_cursor = true;
    bool show_phase_cursor = true;
    int selected_test = 0;
    std::int32_t phase_range_setting = 0;  // parameter 6: the phase axis starts at -180, -360 or 0
    s_combined_response combined;
};

// The appearance of test i as the window opens.
s_plot_appearance plot_appearance_opening(int test_index);
