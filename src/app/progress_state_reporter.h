// A progress_reporter that works out the progress view itself: every report
// goes through its own progress_state under a lock, and the front end is
// handed the new view in the order the reports came, one at a time, even
// when the work and cancel routines report from threads of their own. The
// tool's terminal progress line is one such front end.
#pragma once

#include <cstdint>
#include <mutex>

#include "app/progress_reporter.h"
#include "app/progress_state.h"

class progress_state_reporter : public progress_reporter {
public:
    explicit progress_state_reporter(progress_clock clock);

    void report(int command, std::intptr_t value, const char* text) final;

    // finished or cancelled once a report ended the progress (the first one
    // counts: later reports still change the view); ignored before.
    progress_event ending() const;

protected:
    // Called with the lock held for every report that was a progress command;
    // must not report again.
    virtual void show(const progress_view& view, progress_event event) = 0;

private:
    mutable std::mutex mutex_;
    progress_state state_;              // guarded by mutex_
    progress_event ending_ = progress_event::ignored;  // guarded by mutex_
};
