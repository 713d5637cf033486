// What the progress window shows, worked out from the commands its worker
// reports, without any window: the display mode (count, percentage or
// estimated time), the total and position with their clamping, the caption
// and progress texts, and whether the bar runs as a marquee. The Win32
// progress dialog and the tool's terminal progress line both show one of
// these; only the thread that owns it may call it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

// Milliseconds from an arbitrary start; the estimate divides differences of it.
using progress_clock = std::function<std::int64_t()>;

enum class progress_mode { count, percentage, estimated_time };

// What a command did, for the front end to act on.
enum class progress_event {
    ignored,     // not a progress command: nothing changed
    updated,     // the view (or the mode) may have changed: show it again
    start_work,  // 10006: start the work routine now
    finished,    // 10001: the work is done; close with result 1
    cancelled,   // 2: failed or cancelled; close with result 2
};

struct progress_view {
    std::string caption;        // the caption line (10007)
    std::string text;           // the progress text below the bar
    bool marquee = true;        // the bar runs as a marquee (total unknown)
    std::int64_t range = 0;     // the bar runs from 0 to range
    std::int64_t position = 0;  // the bar's position, 0 to range
};

class progress_state {
public:
    // As the window opens: count mode, total 0, position 0, marquee, caption
    // "Setting Up...".
    explicit progress_state(progress_clock clock);

    // One command with its value (10003 total, 10011 position) or text
    // (10007 caption, null for none). Totals above the largest int are held
    // there; negative totals count as unknown (0), positions are clamped to
    // 0..total.
    progress_event apply(int command, std::intptr_t value, const char* text);

    const progress_view& view() const { return view_; }
    progress_mode mode() const { return mode_; }

private:
    void set_total(std::intptr_t total);
    void move_to(std::int64_t position);
    std::string progress_text() const;
    std::string estimate_text() const;

    progress_clock clock_;
    progress_view view_;
    progress_mode mode_ = progress_mode::count;
    std::int64_t total_ = 0;  // 0 while unknown
    std::int64_t position_ = 0;
    std::int64_t start_ms_ = 0;
};

inline constexpr const char* PROGRESS_SETTING_UP_TEXT = "Setting Up...";
