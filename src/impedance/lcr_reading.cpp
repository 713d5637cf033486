#include "impedance/lcr_reading.h"

#include <cstring>

#include "fra/lcr_layout.h"

namespace {

constexpr int TYPE7 = 7;
constexpr int TYPE9 = 9;
constexpr int MEASURES_ADMITTANCE = 4;
constexpr int PARALLEL_CIRCUIT = 1;

// Which reading values make up a point, in the point's order.
struct point_mapping {
    int layout;
    int count;
    int source[8];
};
constexpr point_mapping ADMITTANCE_POINT = {LCR_LAYOUT_ADMITTANCE, 5, {0, 9, 10, 7, 8}};
constexpr point_mapping IMPEDANCE_POINT = {LCR_LAYOUT_IMPEDANCE, 5, {0, 5, 6, 3, 4}};
constexpr point_mapping PARALLEL_POINT = {LCR_LAYOUT_READING, 8, {0, 12, 11, 3, 4, 9, 10, 8}};
constexpr point_mapping SERIES_POINT = {LCR_LAYOUT_READING, 8, {0, 12, 11, 3, 4, 6, 7, 5}};

const point_mapping* mapping_for(int kind, int measured_quantity, int equivalent_circuit)
{
    switch (kind) {
    case 1:
        return &ADMITTANCE_POINT;
    case 4:
        return measured_quantity == MEASURES_ADMITTANCE ? &ADMITTANCE_POINT : &IMPEDANCE_POINT;
    case 2:
    case 5:
        return equivalent_circuit == PARALLEL_CIRCUIT ? &PARALLEL_POINT : &SERIES_POINT;
    default:
        return nullptr;
    }
}

const char* const SHORT_READING_NAMES[LCR_SHORT_READING_VALUES] = {
    "Frequency",  "Magnitude 1", "Magnitude 2", "Impedance",   "Phase",       "Resistance",
    "Reactance",  "Admittance",  "Phase",       "Conductance", "Susceptance",
};
const char* const FULL_READING_NAMES[LCR_READING_VALUES] = {
    "Frequency",  "Magnitude 1", "Magnitude 2", "Impedance",  "Phase", "Series R",  "Series L",
    "Series C",   "Parallel R",  "Parallel L",  "Parallel C", "Tan\xF0", "Q", "Reactance",
};

}  // namespace

std::atomic<int>& lcr_reading_kind()
{
    static std::atomic<int> kind{0};
    return kind;
}

int lcr_reading_kind_for(int instrument_type, int count, lcr_reading_source source)
{
    const bool short_reading = count == LCR_SHORT_READING_VALUES;
    if (!short_reading && count != LCR_READING_VALUES) {
        return 0;
    }
    if (instrument_type == TYPE7) {
        return short_reading ? 1 : 2;
    }
    if (instrument_type == TYPE9) {
        if (!short_reading) {
            return 5;
        }
        return source == lcr_reading_source::live ? 1 : 4;
    }
    return 0;
}

int lcr_reading_value_count(int kind)
{
    switch (kind) {
    case 2:
    case 5:
        return 14;
    case 3:
        return 8;
    case 6:
        return 13;
    case 7:
    case 8:
        return 5;
    default:
        return 11;
    }
}

std::vector<std::string> lcr_reading_value_names(int kind)
{
    const int count = lcr_reading_value_count(kind);
    // Up to 11 values read as the short reading, more as the full one.
    const bool full = count > LCR_SHORT_READING_VALUES;
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        names.emplace_back(full ? FULL_READING_NAMES[i] : SHORT_READING_NAMES[i]);
    }
    return names;
}

bool append_lcr_reading(const double (&reading)[LCR_READING_VALUES], int kind, int measured_quantity,
                        int equivalent_circuit, s_lcr_sweep& block, int& layout)
{
    if (block.points < 0 || block.points >= SWEEP_MAX_POINTS) {
        return false;
    }
    s_lcr_result& point = block.point[block.points];
    std::memset(&point, 0, sizeof point);
    if (const point_mapping* mapping = mapping_for(kind, measured_quantity, equivalent_circuit)) {
        layout = mapping->layout;
        for (int i = 0; i < mapping->count; ++i) {
            point.value[i] = reading[mapping->source[i]];
        }
    }
    ++block.points;
    return true;
}
