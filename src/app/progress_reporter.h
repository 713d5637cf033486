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

inline constexpr int PROGRESS_DONE = 10001;
inline constexpr int PROGRESS_SET_RANGE = 10003;
inline constexpr int PROGRESS_SET_TEXT = 10007;
inline constexpr int PROGRESS_SET_POSITION = 10011;
inline constexpr int PROGRESS_FAILED = 2;
