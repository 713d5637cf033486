// The system's locale information texts (decimal separator, thousands
// separator and grouping, as Windows gives them) turned into the punctuation
// of a number facet. Portable, so its rules are tested on every build.
#pragma once

#include <cstdint>
#include <string>

#include "app/number_conventions.h"

// A grouping text of the system ("3;0": groups of 3 repeated; "3;2;0": 3,
// then 2 repeated; "3": one group of 3, then none; "0" or "": no grouping)
// in the form of std::numpunct::grouping(). False for anything else (sizes
// are single digits 1 to 9, a 0 only at the end).
bool grouping_from_system_text(const std::string& text, std::string* grouping);

// The three texts as punctuation: the decimal separator must be one
// character; the thousands separator one character, or none (then nothing
// is grouped). False when the system's texts cannot be used.
bool punctuation_from_system_texts(const std::string& decimal, const std::string& thousands,
                                   const std::string& grouping, s_number_punctuation* out);

// The Windows-1252 byte that stands for a space character that code page has
// no byte for (the narrow no-break space some systems group French numbers
// with, the thin and other fixed-width spaces): the no-break space 0xA0.
// '\0' for any other character.
char separator_stand_in(std::uint32_t code_point);
