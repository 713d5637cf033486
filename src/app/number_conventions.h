// Where the separators of the national number conventions come from. The
// exports' number formats 0 to 3 (number_format_settings.h) each stand for a
// convention: the user's own, English as in the United Kingdom, French as in
// France and German as in Germany. Windows gives their separators from its
// locale information; elsewhere they come from a fixed table. Tests inject
// conventions of their own.
#pragma once

#include <string>

enum class number_convention { user_default, uk_us, france, germany };

// What a number punctuation facet needs. grouping is in the form of
// std::numpunct::grouping(): group sizes from the decimal point leftwards,
// the last one repeating; "" for no grouping.
struct s_number_punctuation {
    char decimal = '.';
    char thousands = ',';
    std::string grouping = "\3";
};

class number_conventions {
public:
    virtual ~number_conventions() = default;
    // False when the system cannot give this convention's separators.
    virtual bool punctuation(number_convention convention, s_number_punctuation* out) = 0;
};

// The separators from a fixed table (every convention always given): the
// user's default is the UK/US one, France groups with the no-break space
// (Windows-1252 byte 0xA0), every convention groups by three.
number_conventions& table_number_conventions();

// The system's: the locale information on Windows, the table elsewhere.
number_conventions& platform_number_conventions();
