// The listing of a model by its type's name table, as the command-line tool
// prints it: one line per named number, in ascending order, made of the
// command number, a tab, the name, a tab and the display string.
#pragma once

#include <string>

class instrument_config;

// The line of one number ("" when the table does not name it).
std::string named_parameter_line(const instrument_config& model, const char* const* names, int number);
// The lines of every named number.
std::string named_parameter_lines(const instrument_config& model, const char* const* names);
