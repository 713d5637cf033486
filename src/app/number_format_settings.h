// The number format of exported numbers as the main settings file keeps it:
// "Settings"/"NumFormatType" (0 the user's default convention, 1 UK/US,
// 2 France, 3 Germany, 999 custom separators), "NumFormatDecimal" and
// "NumFormatThousand" (the custom separators, one character each).
//
// settings_load reads them through number_format_read; the "Software
// Options" dialog writes them back through number_format_write. The values
// in effect are held by settings.h (number_format_type(), decimal_separator(),
// thousands_separator()).
#pragma once

#include <string>

#include "app/settings.h"

class profile_store;

inline constexpr int NUMBER_FORMAT_DEFAULT = 0;
inline constexpr int NUMBER_FORMAT_UK_US = 1;
inline constexpr int NUMBER_FORMAT_FRANCE = 2;
inline constexpr int NUMBER_FORMAT_GERMANY = 3;
inline constexpr int NUMBER_FORMAT_CUSTOM = 999;

struct s_number_format {
    int type = NUMBER_FORMAT_DEFAULT;
    char decimal = default_decimal_separator;
    char thousands = default_thousands_separator;
};

// True for the five types above.
bool number_format_type_known(int type);

// The stored values, each with its default when absent or unusable: a type
// the program does not know reads as 0; a separator is the first character
// of its value unless that is empty or refused (separator_rules.h).
s_number_format number_format_read(profile_store& store, const std::string& file);

// Writes the three keys ("%d", "%c", "%c"; a space separator as "\" \"" so
// that it reads back); false when a write failed.
bool number_format_write(profile_store& store, const std::string& file, const s_number_format& format);

// The type and separators held in memory now, and a format put in their
// place (what the exports and the custom punctuation then use).
s_number_format current_number_format();
void set_current_number_format(const s_number_format& format);
