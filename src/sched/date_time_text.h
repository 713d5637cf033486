// Date and time texts of the reports and picture file names.
#pragma once

#include <ctime>
#include <string>

// "st" for 1, 21 and 31; "nd" for 2 and 22; "rd" for 3 and 23; "th" otherwise.
const char* day_ordinal_suffix(int day);

// "January" to "December" for 1 to 12; "Unknown" for any other value.
const char* month_name(int month);

// Writes the date text and, when time_text is given, the time text of when.
// Nothing is written when date_text is null or tm_year is 0 (an unset date).
// Short form: "01/03/2021" and "14:05". Long form: "01st March 2021" and
// "14:05:09". Out-of-range fields are printed as they are, never trusted as
// indexes.
void format_date_time(std::string* date_text, std::string* time_text, const std::tm& when, bool long_form);
