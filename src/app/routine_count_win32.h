// How many of a run's routines (the work and cancel routines a progress
// dialog starts) are running, with an event that is set while none is, so
// that the run can wait for them, bounded, before it hands the link on.
#pragma once

#include <windows.h>

#include <mutex>

class routine_count {
public:
    routine_count();
    ~routine_count();
    routine_count(const routine_count&) = delete;
    routine_count& operator=(const routine_count&) = delete;

    // A routine starts and ends (each routine calls both, once).
    void begin();
    void end();
    // True once none runs, within timeout_ms, handling the messages the
    // routines send meanwhile (a message box they show). Main thread.
    bool wait_until_idle(DWORD timeout_ms);

private:
    std::mutex mutex_;
    int running_ = 0;  // guarded by mutex_
    HANDLE idle_;
};
