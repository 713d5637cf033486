#include "terminal_progress.h"

#include <utility>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

std::string progress_line(const progress_view& view)
{
    std::string line = view.caption;
    if (!view.text.empty()) {
        if (!line.empty()) {
            line += "  ";
        }
        line += view.text;
    }
    if (line.size() > TERMINAL_PROGRESS_WIDTH) {
        line.resize(TERMINAL_PROGRESS_WIDTH);
    }
    return line;
}

}  // namespace

terminal_progress::terminal_progress(std::FILE* out, bool on_terminal, progress_clock clock)
    : progress_state_reporter(std::move(clock)), out_(out), on_terminal_(on_terminal)
{
}

terminal_progress::~terminal_progress()
{
    // Work that never said it ended still leaves the terminal on a new line.
    end_line();
}

void terminal_progress::show(const progress_view& view, progress_event event)
{
    if (!on_terminal_) {
        if (!view.caption.empty() && view.caption != written_) {
            written_ = view.caption;
            std::fprintf(out_, "%s\n", written_.c_str());
            std::fflush(out_);
        }
        return;
    }
    if (event == progress_event::finished || event == progress_event::cancelled) {
        end_line();
        return;
    }
    const std::string line = progress_line(view);
    if (line != written_ || !line_open_) {
        rewrite_line(line);
    }
}

// Blanks cover what is left of a longer line before.
void terminal_progress::rewrite_line(const std::string& line)
{
    std::string padded = line;
    if (line_open_ && written_.size() > line.size()) {
        padded.append(written_.size() - line.size(), ' ');
    }
    std::fprintf(out_, "\r%s", padded.c_str());
    std::fflush(out_);
    written_ = line;
    line_open_ = true;
}

void terminal_progress::end_line()
{
    if (line_open_) {
        std::fputc('\n', out_);
        std::fflush(out_);
        line_open_ = false;
    }
}

bool stream_is_terminal(std::FILE* stream)
{
#ifdef _WIN32
    return _isatty(_fileno(stream)) != 0;
#else
    return isatty(fileno(stream)) != 0;
#endif
}
