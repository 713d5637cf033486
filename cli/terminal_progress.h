// The tool's progress line: the progress a sweep or a transfer reports, as
// the progress window would show it, on standard error. On a terminal it is
// one line rewritten in place (carriage return, no line end until the work
// ends): the caption, then the progress text. Anywhere else (a file, a pipe,
// a log) each new caption is written once on a line of its own, so a log
// holds the steps without thousands of counts.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

#include "app/progress_state_reporter.h"

class terminal_progress final : public progress_state_reporter {
public:
    // out must outlive the reporter; on_terminal chooses the form (see
    // stream_is_terminal).
    terminal_progress(std::FILE* out, bool on_terminal, progress_clock clock);
    ~terminal_progress() override;
    terminal_progress(const terminal_progress&) = delete;
    terminal_progress& operator=(const terminal_progress&) = delete;

private:
    void show(const progress_view& view, progress_event event) override;
    void rewrite_line(const std::string& line);
    void end_line();

    std::FILE* out_;
    bool on_terminal_;
    std::string written_;     // the line now on the terminal, or the last caption written
    bool line_open_ = false;  // a progress line waits for its line end
};

// The longest progress line: it must fit a standard 80-column terminal, or
// the carriage return would go back to the start of its last row only.
inline constexpr std::size_t TERMINAL_PROGRESS_WIDTH = 79;

// True when stream is a terminal (a console on Windows).
bool stream_is_terminal(std::FILE* stream);
