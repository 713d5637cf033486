// The number format option of the exporting commands:
//   --number-format default|uk|france|germany|custom [--decimal C] [--thousands C]
// Without it the number format of the settings file applies. --decimal and
// --thousands give custom separators (one character each, one the settings
// file would take) and go with "custom" only; a separator not given is the
// one of the settings file.
#pragma once

#include <string>
#include <vector>

#include "app/number_format_settings.h"

// The words, in the order of the usage line above.
inline constexpr const char* number_format_option_usage =
    "[--number-format default|uk|france|germany|custom [--decimal C] [--thousands C]]";

// Takes the options out of words, leaving the rest in order, into format,
// which holds the stored number format beforehand (current_number_format()
// after settings_load). False with a message and words and format
// unchanged for a malformed option: a missing value, an unknown format
// name, an option given twice, a separator that is not one usable
// character, or a separator without "--number-format custom".
bool take_number_format_option(std::vector<std::string>* words, s_number_format* format, std::string* error);
