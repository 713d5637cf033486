// How a long operation tells its progress window what is happening, without
// knowing about windows: each report is one of the progress window's
// commands (10001 done, 10003 set the range, 10007 show a text, 10011 set the
// position, 2 failed, ...) with its value or text. The Win32 layer posts them
// to the progress window; the command-line tool prints or ignores them.
#pragma once

#include <cstdint>

class progress_reporter {
public:
    virtual ~progress_reporter() = default;
    // May be called from a worker thread.
    virtual void report(int command, std::intptr_t value, const char* text) = 0;
};

// The progress window's commands (progress_state.h says what each does).
inline constexpr int PROGRESS_DONE = 10001;               // finished: close with result 1
inline constexpr int PROGRESS_TOGGLE_PERCENTAGE = 10002;  // percentage mode on, or off when on
inline constexpr int PROGRESS_SET_RANGE = 10003;          // the total; 0 when unknown
inline constexpr int PROGRESS_STEP = 10004;               // one step done
inline constexpr int PROGRESS_START = 10006;              // the window starts its work routine
inline constexpr int PROGRESS_SET_TEXT = 10007;           // the caption line; null for none
inline constexpr int PROGRESS_TOGGLE_ESTIMATE = 10010;    // estimated-time mode on, unless in percentage mode
inline constexpr int PROGRESS_SET_POSITION = 10011;       // the position
inline constexpr int PROGRESS_FAILED = 2;                 // the window's Cancel: close with result 2
