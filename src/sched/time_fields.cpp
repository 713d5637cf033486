#include "sched/time_fields.h"

namespace {

constexpr std::uint64_t ms_per_second = 1000;
constexpr std::uint64_t ms_per_minute = 60 * ms_per_second;
constexpr std::uint64_t ms_per_hour = 60 * ms_per_minute;
constexpr std::uint64_t ms_per_day = 24 * ms_per_hour;

}  // namespace

s_time_fields split_duration(std::uint64_t ms, bool with_days)
{
    s_time_fields fields{};
    if (with_days) {
        fields.day = static_cast<std::uint16_t>(ms / ms_per_day);
        ms %= ms_per_day;
    }
    const std::uint64_t hours = ms / ms_per_hour;
    fields.hour = static_cast<std::uint16_t>(hours);
    std::uint64_t rest = ms - hours * ms_per_hour;
    fields.minute = static_cast<std::uint16_t>(rest / ms_per_minute);
    rest %= ms_per_minute;
    fields.second = static_cast<std::uint16_t>(rest / ms_per_second);
    fields.milliseconds = static_cast<std::uint16_t>(rest % ms_per_second);
    return fields;
}

std::tm systemtime_to_tm(const s_time_fields& fields)
{
    std::tm result{};
    result.tm_sec = fields.second;
    result.tm_min = fields.minute;
    result.tm_hour = fields.hour;
    result.tm_mday = fields.day;
    result.tm_mon = static_cast<int>(fields.month) - 1;
    result.tm_year = static_cast<int>(fields.year) - 1900;
    return result;
}
