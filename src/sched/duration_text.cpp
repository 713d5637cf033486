#include "sched/duration_text.h"

#include <cstdio>

namespace {

struct duration_unit {
    const char* singular;
    const char* plural;
};

constexpr duration_unit hour_unit{"Hour", "Hours"};
constexpr duration_unit minute_unit{"Minute", "Minutes"};
constexpr duration_unit second_unit{"Second", "Seconds"};

void append_words(std::string& text, unsigned value, const duration_unit& unit)
{
    if (value == 0) {
        return;
    }
    if (!text.empty()) {
        text += ", ";
    }
    text += std::to_string(value);
    text += ' ';
    text += value == 1 ? unit.singular : unit.plural;
}

std::string in_figures(const s_time_fields& fields, bool with_seconds)
{
    char text[32];
    if (with_seconds) {
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned{fields.hour}, unsigned{fields.minute},
                      unsigned{fields.second});
    } else {
        std::snprintf(text, sizeof text, "%02u:%02u", unsigned{fields.hour}, unsigned{fields.minute});
    }
    return text;
}

std::string in_words(const s_time_fields& fields, bool with_seconds)
{
    std::string text;
    append_words(text, fields.hour, hour_unit);
    append_words(text, fields.minute, minute_unit);
    if (with_seconds) {
        append_words(text, fields.second, second_unit);
    }
    if (text.empty()) {
        text = with_seconds ? "0 Seconds" : "0 Minutes";
    }
    return text;
}

}  // namespace

std::string format_duration(const s_time_fields& fields, unsigned options)
{
    const bool with_seconds = (options & DURATION_SECONDS) != 0;
    return (options & DURATION_WORDS) != 0 ? in_words(fields, with_seconds) : in_figures(fields, with_seconds);
}
