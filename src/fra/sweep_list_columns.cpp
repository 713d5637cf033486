#include "fra/sweep_list_columns.h"

#include <iterator>

namespace {

struct list_column {
    const char* name;
    const char* unit;  // nullptr for the first column
};

constexpr list_column two_channel_columns[] = {
    {"Step", nullptr}, {"Frequency", "Hz"}, {"Magnitude 1", "V"}, {"Magnitude 2", "V"},
    {"Gain", "dB"},    {"Phase", "\xB0"},   {"Delay", "s"},
};

constexpr list_column three_channel_columns[] = {
    {"Steps", nullptr},  {"Frequency", "Hz"},   {"Magnitude 1", "V"}, {"Magnitude 2", "V"},
    {"Gain 1", "dB"},    {"Phase 1", "\xB0"},   {"Delay 1", "s"},     {"Magnitude 3", "V"},
    {"Gain 2", "dB"},    {"Phase 2", "\xB0"},   {"Delay 2", "s"},
};

constexpr list_column lcr_basic_columns[] = {
    {"Steps", nullptr}, {"Frequency", "Hz"},  {"Q", nullptr}, {"Tan\xF0", nullptr}, {"Impedance", "Ohms"},
    {"Phase", "\xB0"}, {"L", "H"},           {"C", "F"},     {"R", "Ohms"},
};

constexpr list_column lcr_full_columns[] = {
    {"Steps", nullptr},      {"Frequency", "Hz"},     {"Q Factor", nullptr},     {"Tan\xF0", nullptr},
    {"Z Magnitude", "Ohms"}, {"Z Phase", "\xB0"},     {"Series L", "H"},         {"Series C", "F"},
    {"Series R", "Ohms"},    {"Y Magnitude", "Ohms"}, {"Y Phase", "\xB0"},       {"Parallel L", "H"},
    {"Parallel C", "F"},     {"Parallel R", "Ohms"},
};

constexpr list_column lcr_impedance_columns[] = {
    {"Steps", nullptr},         {"Frequency", "Hz"},     {"Z Real", "Ohms"},
    {"Z Quadrature", "Ohms"},   {"Z Magnitude", "Ohms"}, {"Z Phase", "\xB0"},
};

constexpr list_column lcr_admittance_columns[] = {
    {"Steps", nullptr},     {"Frequency", "Hz"},  {"Y Real", "S"},
    {"Y Quadrature", "S"},  {"Y Magnitude", "S"}, {"Y Phase", "\xB0"},
};

template <std::size_t N>
std::vector<std::string> titles(const list_column (&columns)[N])
{
    std::vector<std::string> out;
    for (const list_column& column : columns) {
        out.push_back(column.unit ? std::string(column.name) + " (" + column.unit + ")" : column.name);
    }
    return out;
}

}  // namespace

std::vector<std::string> fra_list_column_titles(bool three_channel)
{
    return three_channel ? titles(three_channel_columns) : titles(two_channel_columns);
}

std::vector<std::string> lcr_list_column_titles(int layout)
{
    switch (layout) {
    case 6:
        return titles(lcr_full_columns);
    case 7:
        return titles(lcr_impedance_columns);
    case 8:
        return titles(lcr_admittance_columns);
    default:
        return titles(lcr_basic_columns);
    }
}
