// The layout of a graph settings file: its keys in the order they are
// written, the field of s_graph_settings each key holds, and what a missing
// key gives. Sections "GSettings", "XAxis", "PlotA" and "PlotB".
#pragma once

#include <array>
#include <cstdint>

#include "graph/graph_settings.h"

enum class graph_setting_type {
    integer,  // "%d"
    boolean,  // "%d" of 0 or 1; any non-zero integer reads as true
    number,   // format_si_fixed, read back with parse_eng
};

struct s_graph_setting_key {
    const char* section;
    const char* key;
    graph_setting_type type;
    // The field of the bound record: the one matching type, the others null.
    std::int32_t* integer;
    bool* boolean;
    double* number;
    // What a missing key gives: fallback for integers and booleans,
    // fallback_text (read with parse_eng) for numbers.
    std::int32_t fallback;
    const char* fallback_text;
    // False when this kind never reads the key: the field always takes the
    // fallback. The key is still written.
    bool read;
};

inline constexpr int GRAPH_SETTINGS_KEY_COUNT = 31;

// The keys of the settings file of a kind, in writing order, bound to the
// fields of record. Kinds other than 1 and 2 take the defaults of kind 0.
std::array<s_graph_setting_key, GRAPH_SETTINGS_KEY_COUNT> graph_setting_keys(s_graph_settings& record,
                                                                            int kind);
