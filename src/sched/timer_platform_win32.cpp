#include "sched/timer_platform_win32.h"

#include <cstring>

#include "app/debug_output.h"
#include "sched/counter_ms.h"

namespace {

constexpr UINT text_send_timeout_ms = 1000;

std::int64_t performance_frequency()
{
    LARGE_INTEGER frequency;
    if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0) {
        return 0;
    }
    return frequency.QuadPart;
}

}  // namespace

std::int64_t performance_counter_clock::now_ms()
{
    static const std::int64_t frequency = performance_frequency();
    LARGE_INTEGER counter;
    if (frequency == 0 || !QueryPerformanceCounter(&counter)) {
        return static_cast<std::int64_t>(GetTickCount64());
    }
    return counter_to_ms(counter.QuadPart, frequency);
}

timer_queue_tick_source::~timer_queue_tick_source()
{
    stop();
}

bool timer_queue_tick_source::start(std::function<void()> tick, int first_delay_ms, int period_ms)
{
    if (timer_ != nullptr || !tick || period_ms <= 0) {
        return false;
    }
    tick_ = std::move(tick);
    const DWORD first = first_delay_ms > 0 ? static_cast<DWORD>(first_delay_ms) : 0;
    if (!CreateTimerQueueTimer(&timer_, nullptr, &timer_queue_tick_source::on_timer, this, first,
                               static_cast<DWORD>(period_ms), WT_EXECUTEDEFAULT)) {
        timer_ = nullptr;
        return false;
    }
    return true;
}

void timer_queue_tick_source::stop()
{
    if (timer_ == nullptr) {
        return;
    }
    if (!DeleteTimerQueueTimer(nullptr, timer_, INVALID_HANDLE_VALUE)) {
        debug_output("Timer service: the tick timer could not be deleted\n");
    }
    timer_ = nullptr;
}

VOID CALLBACK timer_queue_tick_source::on_timer(PVOID self, BOOLEAN)
{
    static_cast<timer_queue_tick_source*>(self)->tick_();
}

void window_message_sink::post(timer_window window, std::uint32_t message, bool as_command, std::int32_t id)
{
    const HWND receiver = static_cast<HWND>(window);
    if (as_command) {
        PostMessageA(receiver, WM_COMMAND, static_cast<WPARAM>(message), static_cast<LPARAM>(id));
    } else {
        PostMessageA(receiver, static_cast<UINT>(message), 0, static_cast<LPARAM>(id));
    }
}

bool window_message_sink::set_text(timer_window control, const char* text)
{
    const HWND receiver = static_cast<HWND>(control);
    if (GetWindowThreadProcessId(receiver, nullptr) == GetCurrentThreadId()) {
        SendMessageA(receiver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        return true;
    }
    // Another thread's control: the text travels in a copy of its own. When
    // the send times out, that thread may still take the message later and
    // read the copy, so the copy is then left to it (a few bytes, and only
    // while that thread has stopped taking messages).
    const std::size_t size = std::strlen(text) + 1;
    auto* copy = new char[size];
    std::memcpy(copy, text, size);
    DWORD_PTR result = 0;
    if (SendMessageTimeoutA(receiver, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(copy), SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            text_send_timeout_ms, &result) == 0 &&
        GetLastError() == ERROR_TIMEOUT) {
        return false;
    }
    delete[] copy;
    return true;
}

timer_platform win32_timer_platform()
{
    static auto* const clock = new performance_counter_clock;
    static auto* const ticks = new timer_queue_tick_source;
    static auto* const sink = new window_message_sink;
    return timer_platform{clock, ticks, sink};
}
