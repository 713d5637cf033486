// The timer service's tick as a function of the time: a fake clock, ticks
// called by hand, and a sink that records what the windows would receive.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "sched/timer_scheduler.h"

namespace {

struct fake_clock final : timer_clock {
    std::int64_t now = 7'000'000'000;  // far from 0: nothing may assume a start at 0
    std::int64_t now_ms() override { return now; }
};

struct received {
    bool is_text;
    timer_window window;
    std::uint32_t message;
    bool as_command;
    std::int32_t id;
    std::string text;
};

struct recording_sink final : timer_sink {
    std::vector<received> events;
    bool texts_taken = true;  // false: as if the control's thread were busy
    void post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id) override
    {
        events.push_back({false, window, message, as_command, id, {}});
    }
    bool set_text(timer_window control, const char* text) override
    {
        events.push_back({true, control, 0, false, 0, text});
        return texts_taken;
    }
    std::vector<received> posts() const
    {
        std::vector<received> out;
        for (const received& e : events) {
            if (!e.is_text) out.push_back(e);
        }
        return out;
    }
    std::vector<std::string> texts_of(timer_window control) const
    {
        std::vector<std::string> out;
        for (const received& e : events) {
            if (e.is_text && e.window == control) out.push_back(e.text);
        }
        return out;
    }
};

// Stand-ins for window handles: only compared, never used.
int dialog_object, view_object, other_view_object, status_object, other_status_object;
timer_window const dialog = &dialog_object;
timer_window const view = &view_object;
timer_window const other_view = &other_view_object;
timer_window const status = &status_object;
timer_window const other_status = &other_status_object;

class TimerTick : public ::testing::Test {
protected:
    // Advances the clock to start + elapsed_ms and ticks once.
    void tick_at(std::int64_t elapsed_ms)
    {
        clock.now = start + elapsed_ms;
        service.tick();
    }

    fake_clock clock;
    const std::int64_t start = clock.now;
    recording_sink sink;
    timer_scheduler service{clock, sink, nullptr};
};

TEST_F(TimerTick, OneShotCommandPostsOnceWithItsIdAndLeaves)
{
    const std::int32_t id = service.add(1000, dialog, 10006, true);
    EXPECT_EQ(id, 1);
    EXPECT_EQ(service.add(5000, view, 32800, true), 2);  // ids are consecutive

    for (std::int64_t t = 10; t < 1000; t += 100) {
        tick_at(t);
    }
    EXPECT_TRUE(sink.events.empty());
    tick_at(1000);  // due exactly now
    tick_at(1100);
    tick_at(1200);

    const auto posts = sink.posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].window, dialog);
    EXPECT_EQ(posts[0].message, 10006u);
    EXPECT_TRUE(posts[0].as_command);
    EXPECT_EQ(posts[0].id, id);
    EXPECT_EQ(service.pending(), 1u);  // only the 5 s timer is left
    EXPECT_TRUE(sink.texts_of(dialog).empty());
}

TEST_F(TimerTick, PlainMessageAndLateFirstTick)
{
    const std::int32_t id = service.add(250, view, 0x8005, false);
    tick_at(2000);  // a tick long after the due time still fires once
    tick_at(2100);
    const auto posts = sink.posts();
    ASSERT_EQ(posts.size(), 1u);
    EXPECT_EQ(posts[0].message, 0x8005u);
    EXPECT_FALSE(posts[0].as_command);
    EXPECT_EQ(posts[0].id, id);
}

TEST_F(TimerTick, CountdownTextsFromAddingToFiring)
{
    service.add_countdown(5 * 60 * 1000, view, 32800, status, true, true);
    // The first text is written when the timer is added, before any tick.
    ASSERT_EQ(sink.texts_of(status), std::vector<std::string>{"00:05:00\n"});

    const struct {
        std::int64_t elapsed;
        const char* text;
    } steps[] = {
        {10, "00:04:59\n"},      // whole seconds left are truncated
        {1000, "00:04:59\n"},
        {1001, "00:04:58\n"},
        {60000, "00:04:00\n"},
        {60001, "00:03:59\n"},
        {299999, "00:00:00\n"},  // under a second left, not yet due
    };
    for (const auto& step : steps) {
        tick_at(step.elapsed);
        EXPECT_EQ(sink.texts_of(status).back(), step.text) << step.elapsed << " ms after adding";
    }
    EXPECT_TRUE(sink.posts().empty());

    const std::size_t before = sink.events.size();
    tick_at(300050);
    // At the tick that fires, the display shows 00:00:00 first, then the
    // command is posted; later ticks leave both alone.
    ASSERT_EQ(sink.events.size(), before + 2);
    EXPECT_TRUE(sink.events[before].is_text);
    EXPECT_EQ(sink.events[before].text, "00:00:00\n");
    EXPECT_FALSE(sink.events[before + 1].is_text);
    EXPECT_EQ(sink.events[before + 1].message, 32800u);
    tick_at(300150);
    EXPECT_EQ(sink.events.size(), before + 2);
}

TEST_F(TimerTick, DisplayHoursWrapAndCountUp)
{
    service.add_countdown(25.0 * 3600 * 1000, view, 32800, status, true, true);
    service.add_countdown(10 * 1000, view, 1, other_status, false, true);  // time passed
    EXPECT_EQ(sink.texts_of(status).back(), "01:00:00\n");
    EXPECT_EQ(sink.texts_of(other_status).back(), "00:00:00\n");
    tick_at(9000);
    EXPECT_EQ(sink.texts_of(other_status).back(), "00:00:09\n");
    EXPECT_EQ(sink.texts_of(status).back(), "00:59:51\n");  // 24:59:51 left
}

TEST_F(TimerTick, SeveralTimersFireInListOrderFromTheirOwnStart)
{
    const std::int32_t first = service.add(500, view, 11, true);
    clock.now += 300;
    const std::int32_t second = service.add(100, other_view, 22, true);  // due 400 ms after the first's start
    const std::int32_t third = service.add(5000, dialog, 33, true);

    tick_at(399);
    EXPECT_TRUE(sink.posts().empty());
    tick_at(500);  // both the first (due at 500) and the second (at 400)
    auto posts = sink.posts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].id, first);
    EXPECT_EQ(posts[0].window, view);
    EXPECT_EQ(posts[1].id, second);
    EXPECT_EQ(posts[1].window, other_view);

    tick_at(5299);
    EXPECT_EQ(sink.posts().size(), 2u);
    tick_at(5300);
    posts = sink.posts();
    ASSERT_EQ(posts.size(), 3u);
    EXPECT_EQ(posts[2].id, third);
    EXPECT_EQ(service.pending(), 0u);
}

TEST_F(TimerTick, RemovalBeforeExpiryAndRepeatedRemovals)
{
    const std::int32_t removed = service.add_countdown(1000, view, 32800, status, true, true);
    const std::int32_t fired = service.add(100, dialog, 10006, true);
    const std::int32_t kept = service.add(2000, other_view, 32800, true);
    tick_at(150);
    const std::size_t texts = sink.texts_of(status).size();

    EXPECT_TRUE(service.remove(removed));
    EXPECT_TRUE(service.remove(removed));  // twice: nothing more happens
    EXPECT_TRUE(service.remove(fired));    // already fired and gone
    EXPECT_TRUE(service.remove(12345));    // never handed out
    EXPECT_EQ(service.pending(), 1u);

    tick_at(1500);
    tick_at(2500);
    const auto posts = sink.posts();
    ASSERT_EQ(posts.size(), 2u);
    EXPECT_EQ(posts[0].id, fired);
    EXPECT_EQ(posts[1].id, kept);
    EXPECT_EQ(sink.texts_of(status).size(), texts);  // no text after removal
}

TEST_F(TimerTick, StoppedDisplayKeepsItsLastTextAndTheTimerStillFires)
{
    const std::int32_t id = service.add_countdown(3000, view, 32800, status, true, true);
    tick_at(1500);
    service.stop_display(id);
    service.stop_display(999);  // unknown id: nothing
    tick_at(2500);
    tick_at(3000);
    EXPECT_EQ(sink.texts_of(status), (std::vector<std::string>{"00:00:03\n", "00:00:01\n"}));
    ASSERT_EQ(sink.posts().size(), 1u);
    EXPECT_EQ(sink.posts()[0].id, id);
}

TEST_F(TimerTick, UnusableIntervalsNeitherCrashNorHang)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const std::int32_t not_a_number = service.add_countdown(nan, view, 1, status, true, true);
    const std::int32_t negative = service.add_countdown(-5000, view, 2, other_status, true, true);
    service.add_countdown(inf, other_view, 3, dialog, true, true);
    service.add_countdown(1e300, other_view, 4, dialog, false, true);
    EXPECT_EQ(sink.texts_of(status).back(), "00:00:00\n");
    EXPECT_EQ(sink.texts_of(other_status).back(), "00:00:00\n");

    tick_at(10);
    const auto posts = sink.posts();
    ASSERT_EQ(posts.size(), 2u);  // not a number counts as 0; negative is overdue
    EXPECT_EQ(posts[0].id, not_a_number);
    EXPECT_EQ(posts[1].id, negative);
    EXPECT_EQ(service.pending(), 2u);  // an endless interval never fires
    EXPECT_EQ(sink.texts_of(dialog).size(), 4u);
}

TEST_F(TimerTick, BusyControlThreadDefersTextsButNotMessages)
{
    service.add_countdown(2000, view, 1, status, true, true);
    service.add_countdown(1000, view, 2, other_status, true, true);
    sink.events.clear();

    sink.texts_taken = false;
    tick_at(1000);
    // One text tried and not taken; the other text waits, the due message goes.
    ASSERT_EQ(sink.events.size(), 2u);
    EXPECT_EQ(sink.events[0].window, status);
    EXPECT_FALSE(sink.events[1].is_text);
    EXPECT_EQ(sink.events[1].message, 2u);

    sink.texts_taken = true;
    tick_at(1100);
    EXPECT_EQ(sink.texts_of(status).back(), "00:00:00\n");
    EXPECT_EQ(sink.events.size(), 3u);
}

TEST_F(TimerTick, CountdownWithoutControlWritesNothing)
{
    service.add_countdown(1000, view, 32800, nullptr, true, true);
    tick_at(1000);
    ASSERT_EQ(sink.events.size(), 1u);
    EXPECT_FALSE(sink.events[0].is_text);
}

}  // namespace
