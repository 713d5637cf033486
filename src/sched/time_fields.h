// Time fields: a duration split into hours, minutes, seconds and milliseconds,
// or a calendar date and time, in the layout of the system's SYSTEMTIME (eight
// unsigned 16-bit fields), and the turn of such a record into a struct tm for
// the report date texts.
#pragma once

#include <cstdint>
#include <ctime>

struct s_time_fields {
    std::uint16_t year;
    std::uint16_t month;
    std::uint16_t day_of_week;
    std::uint16_t day;
    std::uint16_t hour;
    std::uint16_t minute;
    std::uint16_t second;
    std::uint16_t milliseconds;
};

// Splits a duration of ms milliseconds into time fields.
// Without days the hours are not wrapped (25 hours stay 25; the field keeps
// the low 16 bits of an absurdly long count). With days the whole days are
// split off first, so the hour runs 0 to 23, and the day count goes into
// `day` (low 16 bits); year and month stay 0. No caller shows the days.
s_time_fields split_duration(std::uint64_t ms, bool with_days);

// tm_sec, tm_min, tm_hour, tm_mday from second, minute, hour, day;
// tm_mon = month - 1; tm_year = year - 1900; everything else 0 (the day of
// week and the milliseconds are dropped).
std::tm systemtime_to_tm(const s_time_fields& fields);
