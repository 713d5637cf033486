#include "sched/date_time_text.h"

#include <array>
#include <cstdio>

namespace {

constexpr std::array<const char*, 12> month_names{
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December",
};

}  // namespace

const char* day_ordinal_suffix(int day)
{
    switch (day) {
    case 1:
    case 21:
    case 31:
        return "st";
    case 2:
    case 22:
        return "nd";
    case 3:
    case 23:
        return "rd";
    default:
        return "th";
    }
}

const char* month_name(int month)
{
    if (month < 1 || month > static_cast<int>(month_names.size())) {
        return "Unknown";
    }
    return month_names[static_cast<std::size_t>(month - 1)];
}

void format_date_time(std::string* date_text, std::string* time_text, const std::tm& when, bool long_form)
{
    if (date_text == nullptr || when.tm_year == 0) {
        return;
    }
    // Month and year in 64 bits, so that no field value can overflow.
    const long long month = static_cast<long long>(when.tm_mon) + 1;
    const long long year = static_cast<long long>(when.tm_year) + 1900;
    char text[96];
    if (long_form) {
        const int month_index = month >= 1 && month <= 12 ? static_cast<int>(month) : 0;
        std::snprintf(text, sizeof text, "%02d%s %s %04lld", when.tm_mday, day_ordinal_suffix(when.tm_mday),
                      month_name(month_index), year);
    } else {
        std::snprintf(text, sizeof text, "%02d/%02lld/%04lld", when.tm_mday, month, year);
    }
    *date_text = text;
    if (time_text == nullptr) {
        return;
    }
    if (long_form) {
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", when.tm_hour, when.tm_min, when.tm_sec);
    } else {
        std::snprintf(text, sizeof text, "%02d:%02d", when.tm_hour, when.tm_min);
    }
    *time_text = text;
}
