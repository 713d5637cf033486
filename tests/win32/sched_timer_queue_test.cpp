// The timer service on the system's timer queue: commands and messages posted
// to a message-only window with the timer id in lParam, countdown texts sent
// to another, the process-wide service on the Win32 parts, and destruction
// while ticks are sending.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sched/timer_platform_win32.h"
#include "sched/timer_service.h"

namespace {

constexpr std::int64_t patience_ms = 30000;  // only a broken service waits this long
constexpr UINT plain_message = WM_APP + 5;

struct received_message {
    UINT message;
    WPARAM wparam;
    LPARAM lparam;
    std::int64_t at_ms;
};

// What a recording window was sent or posted.
struct window_record {
    performance_counter_clock clock;
    std::vector<received_message> messages;
    std::vector<std::string> texts;
};

LRESULT CALLBACK recording_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    auto* record = reinterpret_cast<window_record*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (record != nullptr) {
        if (message == WM_COMMAND || message == plain_message) {
            record->messages.push_back({message, wparam, lparam, record->clock.now_ms()});
        } else if (message == WM_SETTEXT) {
            record->texts.emplace_back(reinterpret_cast<const char*>(lparam));
        }
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

const char* recording_class()
{
    static const char* const name = [] {
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = recording_procedure;
        window_class.hInstance = GetModuleHandleA(nullptr);
        window_class.lpszClassName = "Corvexa2TimerRecorder";
        RegisterClassA(&window_class);
        return window_class.lpszClassName;
    }();
    return name;
}

// A message-only window that records into its own record.
class recording_window {
public:
    recording_window()
    {
        window_ = CreateWindowExA(0, recording_class(), "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        if (window_ != nullptr) {
            SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&record_));
        }
    }
    ~recording_window()
    {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    recording_window(const recording_window&) = delete;
    recording_window& operator=(const recording_window&) = delete;

    HWND handle() const { return window_; }
    window_record& record() { return record_; }

private:
    window_record record_;
    HWND window_ = nullptr;
};

// Takes this thread's messages (sent texts included) until done() or the
// patience runs out; false then.
bool pump_until(const std::function<bool()>& done)
{
    const ULONGLONG deadline = GetTickCount64() + patience_ms;
    while (!done()) {
        if (GetTickCount64() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageA(&message);
        }
    }
    return true;
}

const received_message* find_message(const window_record& record, std::int32_t id)
{
    for (const received_message& m : record.messages) {
        if (m.lparam == id) return &m;
    }
    return nullptr;
}

TEST(TimerQueue, PostsCommandsAndMessagesAndWritesCountdowns)
{
    recording_window receiver;
    recording_window status;
    ASSERT_NE(receiver.handle(), nullptr);
    ASSERT_NE(status.handle(), nullptr);

    performance_counter_clock clock;
    timer_queue_tick_source ticks;
    window_message_sink sink;
    timer_scheduler service(clock, sink, &ticks);
    ASSERT_TRUE(service.ticking());

    const std::int64_t added_at = clock.now_ms();
    const std::int32_t start_id = service.add(300, receiver.handle(), 10006, true);
    const std::int32_t series_id = service.add_countdown(1500, receiver.handle(), 32800, status.handle(), true, true);
    const std::int32_t plain_id = service.add(200, receiver.handle(), plain_message, false);
    // The countdown's first text is written while it is added.
    ASSERT_EQ(status.record().texts, std::vector<std::string>{"00:00:01\n"});

    ASSERT_TRUE(pump_until([&] { return receiver.record().messages.size() >= 3; }));

    const struct {
        std::int32_t id;
        UINT message;
        WPARAM wparam;
        std::int64_t interval;
    } expected[] = {
        {start_id, WM_COMMAND, 10006, 300},
        {series_id, WM_COMMAND, 32800, 1500},
        {plain_id, plain_message, 0, 200},
    };
    for (const auto& e : expected) {
        const received_message* m = find_message(receiver.record(), e.id);
        ASSERT_NE(m, nullptr) << "timer " << e.id;
        EXPECT_EQ(m->message, e.message);
        EXPECT_EQ(m->wparam, e.wparam);
        EXPECT_GE(m->at_ms - added_at, e.interval) << "timer " << e.id << " fired early";
    }
    const std::vector<std::string>& texts = status.record().texts;
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(texts.back(), "00:00:00\n");
    for (std::size_t i = 1; i < texts.size(); ++i) {
        EXPECT_LE(texts[i], texts[i - 1]) << "the countdown went up";
    }
    ASSERT_TRUE(pump_until([&] { return service.pending() == 0; }));
    EXPECT_EQ(receiver.record().messages.size(), 3u);
}

TEST(TimerQueue, ProcessWideServiceOnTheWin32Parts)
{
    recording_window receiver;
    ASSERT_NE(receiver.handle(), nullptr);
    ASSERT_TRUE(timer_service_use_platform(win32_timer_platform()));

    const std::int64_t before = timer_now_ms();
    const std::int32_t removed = timer_add(400, receiver.handle(), 32800, true);
    const std::int32_t kept = timer_add(800, receiver.handle(), 10006, true);
    EXPECT_EQ(kept, removed + 1);
    EXPECT_TRUE(timer_remove(removed));
    ASSERT_TRUE(pump_until([&] { return find_message(receiver.record(), kept) != nullptr; }));
    EXPECT_EQ(find_message(receiver.record(), removed), nullptr);
    EXPECT_GE(timer_now_ms() - before, 800);

    // Chosen once: the service is in use now.
    EXPECT_FALSE(timer_service_use_platform(win32_timer_platform()));
}

// The windows' thread stops taking messages and then destroys the service
// while a tick waits to send it a text: the send gives up, and the
// destruction, which waits for that tick, still ends. A text whose send
// timed out may still arrive afterwards, and must be readable then.
TEST(TimerQueue, DestroyedWhileATickWaitsToSend)
{
    recording_window status;
    ASSERT_NE(status.handle(), nullptr);
    performance_counter_clock clock;
    timer_queue_tick_source ticks;
    window_message_sink sink;
    auto service = std::make_unique<timer_scheduler>(clock, sink, &ticks);
    for (int i = 0; i < 20; ++i) {
        service->add_countdown(60000, status.handle(), 32800, status.handle(), true, true);
    }
    ASSERT_TRUE(pump_until([&] { return status.record().texts.size() >= 60; }));
    Sleep(250);  // no messages taken: the next tick is left waiting in its send
    service.reset();

    const std::size_t texts = status.record().texts.size();
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        DispatchMessageA(&message);
    }
    for (std::size_t i = texts; i < status.record().texts.size(); ++i) {
        const std::string& late = status.record().texts[i];
        EXPECT_TRUE(late.size() == 9 && late.compare(0, 4, "00:0") == 0 && late.back() == '\n') << late;
    }
}

}  // namespace
