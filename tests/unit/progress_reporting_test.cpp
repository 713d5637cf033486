// Progress requests, the one-open-window mark, and the reporter that feeds
// the progress state from worker threads.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "app/progress_reporter.h"
#include "app/progress_request.h"
#include "app/progress_state_reporter.h"

namespace {

TEST(ProgressRequest, TitleIsCutToFit)
{
    progress_request request;
    const std::string long_title(400, 'T');
    set_progress_title(request, long_title.c_str());
    EXPECT_EQ(std::string(request.title), long_title.substr(0, PROGRESS_TITLE_SIZE - 1));
    set_progress_title(request, "Sweep");
    EXPECT_STREQ(request.title, "Sweep");
    set_progress_title(request, nullptr);
    EXPECT_STREQ(request.title, "");
}

TEST(ProgressRequest, OnlyOneWindowIsMarkedOpen)
{
    ASSERT_FALSE(progress_window_open());
    {
        const progress_window_mark first;
        EXPECT_TRUE(first.claimed());
        EXPECT_TRUE(progress_window_open());
        {
            const progress_window_mark second;
            EXPECT_FALSE(second.claimed());
        }
        // The refused one going leaves the first one's mark alone.
        EXPECT_TRUE(progress_window_open());
    }
    EXPECT_FALSE(progress_window_open());
    const progress_window_mark again;
    EXPECT_TRUE(again.claimed());
}

class recording_reporter final : public progress_state_reporter {
public:
    recording_reporter() : progress_state_reporter([] { return std::int64_t{0}; }) {}
    std::vector<progress_view> views;  // guarded by the reporter's lock
    std::vector<progress_event> events;

private:
    void show(const progress_view& view, progress_event event) override
    {
        views.push_back(view);
        events.push_back(event);
    }
};

TEST(ProgressStateReporter, ReportsFromTwoThreadsAreShownOneAtATimeInOrder)
{
    constexpr int steps_each = 500;
    recording_reporter reporter;
    reporter.report(PROGRESS_SET_RANGE, 2 * steps_each, nullptr);
    auto stepper = [&reporter] {
        for (int i = 0; i < steps_each; ++i) {
            reporter.report(PROGRESS_STEP, 0, nullptr);
        }
    };
    std::thread work(stepper);
    std::thread cancel(stepper);
    work.join();
    cancel.join();

    ASSERT_EQ(reporter.views.size(), 2u * steps_each + 1);
    for (std::size_t i = 0; i < reporter.views.size(); ++i) {
        EXPECT_EQ(reporter.views[i].position, static_cast<std::int64_t>(i));
    }
    EXPECT_EQ(reporter.views.back().text, "Progress: 1000/1000");
}

TEST(ProgressStateReporter, FirstEndingCountsAndOtherNumbersAreNotShown)
{
    recording_reporter reporter;
    EXPECT_EQ(reporter.ending(), progress_event::ignored);
    reporter.report(10009, 0, nullptr);
    EXPECT_TRUE(reporter.views.empty());

    // The cancel routine says it is done, then the worker it stopped does.
    reporter.report(PROGRESS_SET_TEXT, 0, "Cancelling sweep");
    reporter.report(PROGRESS_FAILED, 0, nullptr);
    reporter.report(PROGRESS_DONE, 0, nullptr);
    EXPECT_EQ(reporter.ending(), progress_event::cancelled);
    ASSERT_EQ(reporter.events.size(), 3u);
    EXPECT_EQ(reporter.events[2], progress_event::finished);
    EXPECT_EQ(reporter.views[2].caption, "Cancelling sweep");
}

}  // namespace
