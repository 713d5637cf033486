#include <chrono>

#include "app/settings_environment.h"

s_utc_time system_utc_now()
{
    using namespace std::chrono;
    const auto now = floor<seconds>(system_clock::now());
    const auto today = floor<days>(now);
    const year_month_day date{today};
    const hh_mm_ss time_of_day{now - today};
    s_utc_time result;
    result.year = static_cast<int>(date.year());
    result.month = static_cast<int>(static_cast<unsigned>(date.month()));
    result.day = static_cast<int>(static_cast<unsigned>(date.day()));
    result.hour = static_cast<int>(time_of_day.hours().count());
    result.minute = static_cast<int>(time_of_day.minutes().count());
    result.second = static_cast<int>(time_of_day.seconds().count());
    return result;
}
