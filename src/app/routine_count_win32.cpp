#include "app/routine_count_win32.h"

#include "app/sent_message_wait_win32.h"

routine_count::routine_count() : idle_(CreateEventA(nullptr, TRUE, TRUE, nullptr)) {}

routine_count::~routine_count()
{
    if (idle_ != nullptr) {
        CloseHandle(idle_);
    }
}

void routine_count::begin()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (running_++ == 0 && idle_ != nullptr) {
        ResetEvent(idle_);
    }
}

void routine_count::end()
{
    const std::lock_guard<std::mutex> lock(mutex_);
    if (--running_ == 0 && idle_ != nullptr) {
        SetEvent(idle_);
    }
}

bool routine_count::wait_until_idle(DWORD timeout_ms)
{
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        if (running_ == 0) {
            return true;
        }
    }
    return idle_ != nullptr && wait_handling_sent_messages(idle_, timeout_ms);
}
