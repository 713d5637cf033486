// The timer service across threads: the tick never holds the list lock while
// it talks to windows, adds and removals race safely with real ticks, and the
// service waits for a running tick before it goes.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "sched/timer_platform_portable.h"
#include "sched/timer_scheduler.h"

namespace {

using namespace std::chrono_literals;

// Generous: only a broken service ever waits this long.
constexpr auto patience = 30s;

// A one-way signal between threads.
class latch {
public:
    void open()
    {
        {
            const std::lock_guard lock(mutex_);
            open_ = true;
        }
        changed_.notify_all();
    }
    bool wait()
    {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, patience, [this] { return open_; });
    }
    bool is_open()
    {
        const std::lock_guard lock(mutex_);
        return open_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};

struct manual_clock final : timer_clock {
    std::atomic<std::int64_t> now{1000};
    std::int64_t now_ms() override { return now; }
};

int window_object, control_object;
timer_window const window = &window_object;
timer_window const control = &control_object;

// A text sent from the tick waits for the windows' thread, as WM_SETTEXT to
// a control of another thread does. If the tick held the list lock
// meanwhile, the windows' thread could not add or stop anything: deadlock.
TEST(TimerThreads, WindowsThreadMayUseTheServiceWhileATickSendsToIt)
{
    struct waiting_sink final : timer_sink {
        std::thread::id windows_thread = std::this_thread::get_id();
        latch tick_is_sending;
        latch windows_thread_done;
        bool answered = false;
        void post(timer_window, std::uint32_t, bool, std::int32_t) override {}
        bool set_text(timer_window, const char*) override
        {
            if (std::this_thread::get_id() == windows_thread) {
                return true;
            }
            tick_is_sending.open();
            answered = windows_thread_done.wait();
            return true;
        }
    } sink;
    manual_clock clock;
    timer_scheduler service(clock, sink, nullptr);
    const std::int32_t first = service.add_countdown(5000, window, 32800, control, true, true);

    std::thread ticker([&service] { service.tick(); });
    ASSERT_TRUE(sink.tick_is_sending.wait());
    const std::int32_t second = service.add_countdown(5000, window, 32800, control, true, true);
    service.stop_display(first);
    service.remove(second);
    EXPECT_EQ(service.pending(), 1u);
    sink.windows_thread_done.open();
    ticker.join();
    EXPECT_TRUE(sink.answered);
}

// Every timer that is not removed posts exactly once; a removed one posts at
// most once (a tick may have collected it just before the removal). Ids are
// never handed out twice. Run under the sanitizers, this also shows that the
// list is never touched without the lock.
TEST(TimerThreads, AddsAndRemovalsDuringRealTicks)
{
    struct counting_sink final : timer_sink {
        std::mutex mutex;
        std::map<std::int32_t, int> posts;
        std::atomic<int> texts{0};
        void post(timer_window, std::uint32_t, bool, std::int32_t id) override
        {
            const std::lock_guard lock(mutex);
            ++posts[id];
        }
        bool set_text(timer_window, const char*) override
        {
            ++texts;
            return true;
        }
    } sink;
    steady_timer_clock clock;
    thread_tick_source ticks;
    timer_scheduler service(clock, sink, &ticks);
    ASSERT_TRUE(service.ticking());

    constexpr int threads = 4;
    constexpr int timers_per_thread = 150;
    std::vector<std::vector<std::int32_t>> kept(threads), removed(threads);
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t) {
        workers.emplace_back([&, t] {
            for (int i = 0; i < timers_per_thread; ++i) {
                const double interval = (i * 7) % 150;
                const std::int32_t id = i % 3 == 0 ? service.add(interval, window, 32800, true)
                                                   : service.add_countdown(interval, window, 32800, control, true, true);
                if (i % 2 == 0) {
                    service.remove(id);
                    removed[t].push_back(id);
                } else {
                    kept[t].push_back(id);
                }
                if (i % 10 == 0) {
                    service.stop_display(id);
                    std::this_thread::sleep_for(1ms);
                }
            }
        });
    }
    for (std::thread& w : workers) {
        w.join();
    }

    // A tick takes a due timer out of the list before it posts the message,
    // so wait for the messages themselves.
    const auto all_kept_posted = [&] {
        const std::lock_guard lock(sink.mutex);
        for (const auto& ids : kept) {
            for (const std::int32_t id : ids) {
                if (sink.posts.count(id) == 0) return false;
            }
        }
        return true;
    };
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!all_kept_posted() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(service.pending(), 0u);
    ticks.stop();  // no tick runs any more: the counts are final

    std::set<std::int32_t> ids;
    const std::lock_guard lock(sink.mutex);
    for (int t = 0; t < threads; ++t) {
        for (const std::int32_t id : kept[t]) {
            EXPECT_TRUE(ids.insert(id).second) << "id " << id << " handed out twice";
            EXPECT_EQ(sink.posts[id], 1) << "timer " << id;
        }
        for (const std::int32_t id : removed[t]) {
            EXPECT_TRUE(ids.insert(id).second) << "id " << id << " handed out twice";
            EXPECT_LE(sink.posts[id], 1) << "removed timer " << id;
        }
    }
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(threads * timers_per_thread));
    EXPECT_EQ(*ids.begin(), 1);
    EXPECT_EQ(*ids.rbegin(), threads * timers_per_thread);
}

// The service goes only once no tick runs: a tick caught in the middle of
// sending a text finishes before the list and the lock are freed.
TEST(TimerThreads, DestructionWaitsForARunningTick)
{
    struct blocking_sink final : timer_sink {
        std::thread::id adding_thread = std::this_thread::get_id();
        latch in_tick;
        latch release;
        std::atomic<bool> tick_finished{false};
        void post(timer_window, std::uint32_t, bool, std::int32_t) override {}
        bool set_text(timer_window, const char*) override
        {
            if (std::this_thread::get_id() == adding_thread || in_tick.is_open()) {
                return true;
            }
            in_tick.open();
            release.wait();
            tick_finished = true;
            return true;
        }
    } sink;
    steady_timer_clock clock;
    thread_tick_source ticks;
    auto service = std::make_unique<timer_scheduler>(clock, sink, &ticks);
    service->add_countdown(60000, window, 32800, control, true, true);
    service->add_countdown(60000, window, 32800, control, true, true);  // the tick goes on after the release
    ASSERT_TRUE(sink.in_tick.wait());

    latch destroying;
    std::atomic<bool> finished_before_destroyed{false};
    std::thread destroyer([&] {
        destroying.open();
        service.reset();
        finished_before_destroyed = sink.tick_finished.load();
    });
    ASSERT_TRUE(destroying.wait());
    // Time for a destructor that does not wait to free the list under the
    // tick (the sanitizers then report it); passing never depends on it.
    std::this_thread::sleep_for(50ms);
    sink.release.open();
    destroyer.join();
    EXPECT_TRUE(finished_before_destroyed);
}

TEST(TimerThreads, TickThreadTicksUntilStopped)
{
    std::atomic<int> count{0};
    latch three;
    thread_tick_source ticks;
    ASSERT_TRUE(ticks.start(
        [&] {
            if (++count == 3) three.open();
        },
        10, 20));
    EXPECT_FALSE(ticks.start([] {}, 10, 20));  // one start per source
    ASSERT_TRUE(three.wait());
    ticks.stop();
    const int after_stop = count;
    std::this_thread::sleep_for(60ms);
    EXPECT_EQ(count, after_stop);
    ticks.stop();  // again: nothing
}

}  // namespace
