// A long operation as its caller hands it to a progress window: the title,
// the routine that does the work (started a second after the window opens),
// the routine that cancels it (started when the user presses Cancel), the
// job both work on, and the reporter both tell their progress to, filled in
// by whoever runs the request (the Win32 progress dialog or the tool).
//
// Only one progress window is open at a time, process-wide; any thread may
// ask whether one is.
#pragma once

#include <cstddef>

class progress_reporter;
struct progress_request;

// Runs on a thread of its own; reports through request->progress.
using progress_routine = void (*)(progress_request* request);

inline constexpr std::size_t PROGRESS_TITLE_SIZE = 256;

struct progress_request {
    char title[PROGRESS_TITLE_SIZE] = {};  // empty keeps the window's own title ("Download")
    progress_routine work_routine = nullptr;    // may be null
    progress_routine cancel_routine = nullptr;  // may be null
    void* user = nullptr;                       // the job; the routines' business
    progress_reporter* progress = nullptr;      // set by the runner while the request runs
};

// Copies title into the request, cut to fit (null gives an empty title).
void set_progress_title(progress_request& request, const char* title);

// True while a progress window is open.
bool progress_window_open();

// Marks a progress window open for its lifetime. Only one at a time: a
// second one made while the first lives does not take the mark (claimed()
// is false) and must not open its window.
class progress_window_mark {
public:
    progress_window_mark();
    ~progress_window_mark();
    progress_window_mark(const progress_window_mark&) = delete;
    progress_window_mark& operator=(const progress_window_mark&) = delete;

    bool claimed() const { return claimed_; }

private:
    bool claimed_;
};
