// The progress window's state: what each command sequence shows in every
// display mode, the clamping of position and total, the estimate from an
// injected clock, and what each command asks of the window.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "app/progress_reporter.h"
#include "app/progress_state.h"

namespace {

struct command_at {
    int command;
    std::intptr_t value;
    std::int64_t at_ms;  // the clock when the command arrives
};

constexpr std::intptr_t N = 0;  // no value

TEST(ProgressState, CommandSequencesShowTheirTexts)
{
    const int percent = PROGRESS_TOGGLE_PERCENTAGE;
    const int estimate = PROGRESS_TOGGLE_ESTIMATE;
    const int total = PROGRESS_SET_RANGE;
    const int step = PROGRESS_STEP;
    const int position = PROGRESS_SET_POSITION;
    const struct {
        const char* name;
        std::vector<command_at> commands;
        const char* text;
        bool marquee;
        std::int64_t range;
        std::int64_t position;
        progress_mode mode;
    } cases[] = {
        {"opened", {}, "", true, 0, 0, progress_mode::count},
        {"count: total set", {{total, 10, 0}}, "Progress: 0/10", false, 10, 0, progress_mode::count},
        {"count: three steps", {{total, 10, 0}, {step, N, 0}, {step, N, 0}, {step, N, 0}}, "Progress: 3/10", false, 10,
         3, progress_mode::count},
        {"stepping past the total stays at the total",
         {{total, 2, 0}, {step, N, 0}, {step, N, 0}, {step, N, 0}}, "Progress: 2/2", false, 2, 2, progress_mode::count},
        {"position past the total is held at it", {{total, 5, 0}, {position, 9, 0}}, "Progress: 5/5", false, 5, 5,
         progress_mode::count},
        {"negative position is held at 0", {{total, 5, 0}, {position, 3, 0}, {position, -4, 0}}, "Progress: 0/5",
         false, 5, 0, progress_mode::count},
        {"a new total starts again from 0", {{total, 5, 0}, {position, 4, 0}, {total, 8, 0}}, "Progress: 0/8", false, 8,
         0, progress_mode::count},
        {"a total beyond int is held at the largest int", {{total, INTPTR_MAX, 0}, {step, N, 0}},
         "Progress: 1/2147483647", false, INT_MAX, 1, progress_mode::count},
        {"a negative total is unknown", {{total, -3, 0}, {step, N, 0}}, "", true, 0, 0, progress_mode::count},
        {"total 0 after a total: marquee, empty text", {{total, 5, 0}, {step, N, 0}, {total, 0, 0}}, "", true, 0, 0,
         progress_mode::count},
        {"steps while the total is 0 leave the text empty", {{step, N, 0}, {position, 7, 0}}, "", true, 0, 0,
         progress_mode::count},
        {"percentage: total set", {{percent, N, 0}, {total, 3, 0}}, "0% complete", false, 3, 0,
         progress_mode::percentage},
        {"percentage: cut to an integer", {{percent, N, 0}, {total, 3, 0}, {step, N, 0}}, "33% complete", false, 3, 1,
         progress_mode::percentage},
        {"percentage: at the total", {{total, 3, 0}, {percent, N, 0}, {position, 3, 0}}, "100% complete", false, 3, 3,
         progress_mode::percentage},
        {"percentage: 64-bit product", {{percent, N, 0}, {total, INT_MAX, 0}, {position, INT_MAX - 1, 0}},
         "99% complete", false, INT_MAX, INT_MAX - 1, progress_mode::percentage},
        {"percentage before any total: no division by 0", {{percent, N, 0}, {step, N, 0}}, "", true, 0, 0,
         progress_mode::percentage},
        {"percentage twice returns to count", {{percent, N, 0}, {percent, N, 0}, {total, 4, 0}, {step, N, 0}},
         "Progress: 1/4", false, 4, 1, progress_mode::count},
        {"estimate: total set", {{estimate, N, 0}, {total, 10, 0}}, "Estimated time remaining: Unknown", false, 10, 0,
         progress_mode::estimated_time},
        {"estimate: first step from that step's time", {{estimate, N, 0}, {total, 10, 1000}, {step, N, 3000}},
         "Estimated time remaining: 18 Seconds", false, 10, 1, progress_mode::estimated_time},
        {"estimate: time per step is cut to whole milliseconds",
         {{estimate, N, 0}, {total, 4, 0}, {position, 3, 2999}}, "Estimated time remaining: 0 Seconds", false, 4, 3,
         progress_mode::estimated_time},
        {"estimate: only the largest field", {{estimate, N, 0}, {total, 2, 0}, {step, N, 3723000}},
         "Estimated time remaining: 1 Hour", false, 2, 1, progress_mode::estimated_time},
        {"estimate: at the total", {{estimate, N, 0}, {total, 2, 0}, {position, 2, 500}},
         "Estimated time remaining: 0 Seconds", false, 2, 2, progress_mode::estimated_time},
        {"estimate: back at position 0", {{estimate, N, 0}, {total, 2, 0}, {step, N, 100}, {position, 0, 200}},
         "Estimated time remaining: Unknown", false, 2, 0, progress_mode::estimated_time},
        {"estimate: an endless one is held at the longest duration",
         {{estimate, N, 0}, {total, INT_MAX, 0}, {step, N, INT64_MAX}}, "Estimated time remaining: 65535 Hours", false,
         INT_MAX, 1, progress_mode::estimated_time},
        {"estimate: a clock that went back counts as no time", {{estimate, N, 0}, {total, 3, 5000}, {step, N, 1000}},
         "Estimated time remaining: 0 Seconds", false, 3, 1, progress_mode::estimated_time},
        {"estimate: timed from the total, not from the start",
         {{PROGRESS_START, N, 0}, {estimate, N, 0}, {total, 2, 60000}, {step, N, 62000}},
         "Estimated time remaining: 2 Seconds", false, 2, 1, progress_mode::estimated_time},
        {"estimate while in percentage mode leaves percentage on",
         {{percent, N, 0}, {estimate, N, 0}, {total, 4, 0}, {step, N, 10}}, "25% complete", false, 4, 1,
         progress_mode::percentage},
        {"percentage after estimate turns the estimate off",
         {{estimate, N, 0}, {percent, N, 0}, {total, 4, 0}, {step, N, 10}}, "25% complete", false, 4, 1,
         progress_mode::percentage},
        {"estimate, percentage, percentage: count", {{estimate, N, 0}, {percent, N, 0}, {percent, N, 0}, {total, 4, 0}},
         "Progress: 0/4", false, 4, 0, progress_mode::count},
    };
    for (const auto& c : cases) {
        std::int64_t now = 0;
        progress_state state([&now] { return now; });
        for (const auto& command : c.commands) {
            now = command.at_ms;
            state.apply(command.command, command.value, nullptr);
        }
        const progress_view& view = state.view();
        EXPECT_EQ(view.text, c.text) << c.name;
        EXPECT_EQ(view.marquee, c.marquee) << c.name;
        EXPECT_EQ(view.range, c.range) << c.name;
        EXPECT_EQ(view.position, c.position) << c.name;
        EXPECT_EQ(state.mode(), c.mode) << c.name;
        EXPECT_EQ(view.caption, PROGRESS_SETTING_UP_TEXT) << c.name;
    }
}

TEST(ProgressState, WhatEachCommandAsksOfTheWindow)
{
    const struct {
        int command;
        progress_event event;
    } cases[] = {
        {PROGRESS_DONE, progress_event::finished},
        {PROGRESS_FAILED, progress_event::cancelled},
        {PROGRESS_START, progress_event::start_work},
        {PROGRESS_TOGGLE_PERCENTAGE, progress_event::updated},
        {PROGRESS_SET_RANGE, progress_event::updated},
        {PROGRESS_STEP, progress_event::updated},
        {PROGRESS_SET_TEXT, progress_event::updated},
        {PROGRESS_TOGGLE_ESTIMATE, progress_event::updated},
        {PROGRESS_SET_POSITION, progress_event::updated},
        // The window's own controls and other numbers are not commands.
        {10005, progress_event::ignored},
        {10008, progress_event::ignored},
        {10009, progress_event::ignored},
        {0, progress_event::ignored},
        {1, progress_event::ignored},
    };
    for (const auto& c : cases) {
        progress_state state([] { return std::int64_t{0}; });
        EXPECT_EQ(state.apply(c.command, 5, "text"), c.event) << c.command;
    }
}

TEST(ProgressState, CaptionIsCopiedAndNullClearsIt)
{
    progress_state state([] { return std::int64_t{0}; });
    char caption[32] = "Downloading Sweep";
    state.apply(PROGRESS_SET_TEXT, 0, caption);
    std::strcpy(caption, "overwritten");
    EXPECT_EQ(state.view().caption, "Downloading Sweep");
    state.apply(PROGRESS_SET_TEXT, 0, nullptr);
    EXPECT_EQ(state.view().caption, "");
}

}  // namespace
