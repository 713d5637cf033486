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
