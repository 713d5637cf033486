// When a sweep was stored: the block's `taken` record and the time stamp line
// that opens its sweep data file.
#pragma once

#include <string>

#include "app/settings_environment.h"
#include "fra/sweep_records.h"

// The calendar record of a UTC moment; weekday, day of year and daylight
// flag are 0.
s_calendar_time calendar_time_from_utc(const s_utc_time& utc);

// "%02d-%02d-%4d - %02d:%02d:%02d": day, month, year, hour, minute, second,
// such as "26-03-2019 - 14:05:09".
std::string sweep_time_stamp(const s_calendar_time& taken);
