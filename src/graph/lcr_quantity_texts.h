// How the impedance graphs name the values of an LCR point, by layout code:
// the axis title, and the name and unit of a cursor read-out. Entry i is
// value index i (entry 0 the frequency). Windows-1252 text: "\xF0" in
// "Tan\xF0" is the program's tan delta, "\xB0" the degree sign.
#pragma once

#include <span>

struct s_lcr_quantity_text {
    const char* title;  // "Z MAGNITUDE (Ohms)"
    const char* name;   // "Z Magnitude"
    const char* unit;   // "Ohms"; "" for Q and tan delta
};

// The texts of a layout code's values; codes other than 6, 7 and 8 read like 3.
std::span<const s_lcr_quantity_text> lcr_quantity_texts(int layout);

// The texts of one value, or nullptr when the layout has no such value.
const s_lcr_quantity_text* lcr_quantity_text(int layout, int value_index);
