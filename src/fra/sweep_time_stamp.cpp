#include "fra/sweep_time_stamp.h"

#include <cstdio>

namespace {

constexpr int calendar_base_year = 1900;

}  // namespace

s_calendar_time calendar_time_from_utc(const s_utc_time& utc)
{
    s_calendar_time taken{};
    taken.second = utc.second;
    taken.minute = utc.minute;
    taken.hour = utc.hour;
    taken.day_of_month = utc.day;
    taken.month_index = utc.month - 1;
    taken.years_since_1900 = utc.year - calendar_base_year;
    return taken;
}

std::string sweep_time_stamp(const s_calendar_time& taken)
{
    // Room for every int field at full width, so nothing is ever cut.
    char text[96];
    // A block read from elsewhere may hold anything: add in 64 bits.
    std::snprintf(text, sizeof text, "%02d-%02lld-%4lld - %02d:%02d:%02d", taken.day_of_month,
                  static_cast<long long>(taken.month_index) + 1,
                  static_cast<long long>(taken.years_since_1900) + calendar_base_year, taken.hour, taken.minute,
                  taken.second);
    return text;
}
