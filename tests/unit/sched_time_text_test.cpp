// Duration texts (split into fields, then figures or words) and the report
// date texts.
#include <gtest/gtest.h>

#include <string>

#include "sched/date_time_text.h"
#include "sched/duration_text.h"
#include "sched/time_fields.h"

namespace {

TEST(DurationText, SplitAndFormatAsTheProgramDoes)
{
    // The progress dialog splits without days and writes words; the views
    // split with days and write figures.
    const struct {
        std::uint64_t ms;
        bool with_days;
        unsigned options;
        const char* text;
    } cases[] = {
        {0, false, DURATION_IN_WORDS, "0 Seconds"},
        {999, false, DURATION_IN_WORDS, "0 Seconds"},
        {1000, false, DURATION_IN_WORDS, "1 Second"},
        {60000, false, DURATION_IN_WORDS, "1 Minute"},
        {3723000, false, DURATION_IN_WORDS, "1 Hour, 2 Minutes, 3 Seconds"},
        {3601000, false, DURATION_IN_WORDS, "1 Hour, 1 Second"},
        {7200000, false, DURATION_IN_WORDS, "2 Hours"},
        {90000000, false, DURATION_IN_WORDS, "25 Hours"},
        {3723000, true, DURATION_CLOCK, "01:02:03"},
        {90000000, true, DURATION_CLOCK, "01:00:00"},
        {999, true, DURATION_CLOCK, "00:00:00"},
        {90000000, false, DURATION_CLOCK, "25:00:00"},
        {360000000, false, DURATION_CLOCK, "100:00:00"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(format_duration(split_duration(c.ms, c.with_days), c.options), c.text)
            << c.ms << " ms, days " << c.with_days << ", options " << c.options;
    }
}

TEST(DurationText, SplitFields)
{
    // 1 day, 1 hour, 1 minute, 1 second and 1 millisecond.
    const s_time_fields with_days = split_duration(90061001, true);
    EXPECT_EQ(with_days.day, 1);
    EXPECT_EQ(with_days.hour, 1);
    EXPECT_EQ(with_days.minute, 1);
    EXPECT_EQ(with_days.second, 1);
    EXPECT_EQ(with_days.milliseconds, 1);
    EXPECT_EQ(with_days.year, 0);
    EXPECT_EQ(with_days.month, 0);

    const s_time_fields without = split_duration(90061001, false);
    EXPECT_EQ(without.day, 0);
    EXPECT_EQ(without.hour, 25);
    EXPECT_EQ(without.minute, 1);
    EXPECT_EQ(without.milliseconds, 1);
}

TEST(DurationText, OptionBitsWithoutSeconds)
{
    const s_time_fields fields = split_duration(3723000, false);
    EXPECT_EQ(format_duration(fields, DURATION_TIME_ONLY), "01:02");
    EXPECT_EQ(format_duration(fields, DURATION_TIME_ONLY | DURATION_WORDS), "1 Hour, 2 Minutes");
    EXPECT_EQ(format_duration(split_duration(3000, false), DURATION_TIME_ONLY | DURATION_WORDS), "0 Minutes");
}

struct date_texts {
    std::string date = "untouched";
    std::string time = "untouched";
};

date_texts date_of(const std::tm& when, bool long_form)
{
    date_texts texts;
    format_date_time(&texts.date, &texts.time, when, long_form);
    return texts;
}

std::tm when(int year, int month, int day, int hour, int minute, int second)
{
    s_time_fields fields{};
    fields.year = static_cast<std::uint16_t>(year);
    fields.month = static_cast<std::uint16_t>(month);
    fields.day = static_cast<std::uint16_t>(day);
    fields.hour = static_cast<std::uint16_t>(hour);
    fields.minute = static_cast<std::uint16_t>(minute);
    fields.second = static_cast<std::uint16_t>(second);
    fields.day_of_week = 5;
    fields.milliseconds = 999;
    return systemtime_to_tm(fields);
}

TEST(DateTimeText, ShortAndLongForms)
{
    const std::tm taken = when(2021, 3, 1, 14, 5, 9);
    EXPECT_EQ(taken.tm_mon, 2);
    EXPECT_EQ(taken.tm_year, 121);
    EXPECT_EQ(taken.tm_wday, 0);
    EXPECT_EQ(taken.tm_yday, 0);

    const date_texts short_form = date_of(taken, false);
    EXPECT_EQ(short_form.date, "01/03/2021");
    EXPECT_EQ(short_form.time, "14:05");
    const date_texts long_form = date_of(taken, true);
    EXPECT_EQ(long_form.date, "01st March 2021");
    EXPECT_EQ(long_form.time, "14:05:09");
}

TEST(DateTimeText, OrdinalsAndMonths)
{
    const struct {
        int day;
        const char* suffix;
    } days[] = {{1, "st"},  {2, "nd"},  {3, "rd"},  {4, "th"},  {11, "th"}, {12, "th"}, {13, "th"},
                {21, "st"}, {22, "nd"}, {23, "rd"}, {24, "th"}, {31, "st"}, {0, "th"},  {-1, "th"}};
    for (const auto& d : days) {
        EXPECT_STREQ(day_ordinal_suffix(d.day), d.suffix) << d.day;
    }
    EXPECT_STREQ(month_name(1), "January");
    EXPECT_STREQ(month_name(12), "December");
    EXPECT_STREQ(month_name(0), "Unknown");
    EXPECT_STREQ(month_name(13), "Unknown");
    EXPECT_EQ(date_of(when(1999, 12, 22, 0, 0, 0), true).date, "22nd December 1999");
}

TEST(DateTimeText, UnsetOrMissingTextsWriteNothing)
{
    // tm_year 0 is how an unset date reads.
    const date_texts unset = date_of(when(1900, 3, 1, 14, 5, 9), true);
    EXPECT_EQ(unset.date, "untouched");
    EXPECT_EQ(unset.time, "untouched");

    std::string time = "untouched";
    format_date_time(nullptr, &time, when(2021, 3, 1, 14, 5, 9), false);
    EXPECT_EQ(time, "untouched");

    std::string date;
    format_date_time(&date, nullptr, when(2021, 3, 1, 14, 5, 9), true);
    EXPECT_EQ(date, "01st March 2021");
}

TEST(DateTimeText, OutOfRangeFieldsArePrintedNotTrusted)
{
    std::tm odd{};
    odd.tm_year = 2147483647;
    odd.tm_mon = 2147483647;
    odd.tm_mday = -5;
    EXPECT_EQ(date_of(odd, true).date, "-5th Unknown 2147485547");
    EXPECT_EQ(date_of(odd, false).date, "-5/2147483648/2147485547");
    // A record made from a zero month gives month -1.
    EXPECT_EQ(date_of(when(2021, 0, 9, 0, 0, 0), true).date, "09th Unknown 2021");
}

}  // namespace
