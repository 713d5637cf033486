// Duration texts of the progress dialog and the measurement views.
#pragma once

#include <string>

#include "sched/time_fields.h"

// Option bits of format_duration.
inline constexpr unsigned DURATION_WORDS = 1;       // words ("2 Hours") rather than figures
inline constexpr unsigned DURATION_TIME_ONLY = 16;  // hours, minutes and seconds only
inline constexpr unsigned DURATION_SECONDS = 256;   // include the seconds

// The two option sets the program uses: figures "01:02:03" (the views, fields
// split with days) and words "1 Hour, 2 Minutes, 3 Seconds" (the progress
// dialog, fields split without days).
inline constexpr unsigned DURATION_CLOCK = DURATION_TIME_ONLY | DURATION_SECONDS;                  // 272
inline constexpr unsigned DURATION_IN_WORDS = DURATION_TIME_ONLY | DURATION_SECONDS | DURATION_WORDS;  // 273

// Figures: hour, minute (and second) each with at least two digits, joined
// by ":". Words: each of those fields that is not 0, as the number, a blank
// and the unit ("Hour"/"Hours", "Minute"/"Minutes", "Second"/"Seconds",
// singular for exactly 1), joined by ", "; all zero gives "0 Seconds"
// ("0 Minutes" when the seconds are left out). The date fields are not shown.
std::string format_duration(const s_time_fields& fields, unsigned options);
