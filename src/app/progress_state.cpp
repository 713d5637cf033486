#include "app/progress_state.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <limits>
#include <utility>

#include "app/progress_reporter.h"
#include "sched/duration_text.h"
#include "sched/time_fields.h"

namespace {

enum class progress_action {
    finish,
    toggle_percentage,
    set_total,
    step,
    start,
    set_caption,
    toggle_estimate,
    set_position,
    cancel,
};

struct progress_command_row {
    int command;
    progress_action action;
};

constexpr progress_command_row command_rows[] = {
    {PROGRESS_DONE, progress_action::finish},
    {PROGRESS_TOGGLE_PERCENTAGE, progress_action::toggle_percentage},
    {PROGRESS_SET_RANGE, progress_action::set_total},
    {PROGRESS_STEP, progress_action::step},
    {PROGRESS_START, progress_action::start},
    {PROGRESS_SET_TEXT, progress_action::set_caption},
    {PROGRESS_TOGGLE_ESTIMATE, progress_action::toggle_estimate},
    {PROGRESS_SET_POSITION, progress_action::set_position},
    {PROGRESS_FAILED, progress_action::cancel},
};

const progress_command_row* find_command(int command)
{
    for (const auto& row : command_rows) {
        if (row.command == command) {
            return &row;
        }
    }
    return nullptr;
}

constexpr const char* PERCENT_PATTERN = "%d%% complete";
constexpr const char* COUNT_PATTERN = "Progress: %d/%d";
constexpr const char* ESTIMATE_PREFIX = "Estimated time remaining: ";
constexpr const char* ESTIMATE_UNKNOWN = "Estimated time remaining: Unknown";

// The duration text counts hours in 16 bits: longer estimates are shown as
// the longest it can count rather than wrapped to a short one.
constexpr std::uint64_t LONGEST_ESTIMATE_MS = (65535ULL * 3600 + 59 * 60 + 59) * 1000;

std::uint64_t saturating_product(std::uint64_t a, std::uint64_t b)
{
    if (a != 0 && b > std::numeric_limits<std::uint64_t>::max() / a) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return a * b;
}

}  // namespace

progress_state::progress_state(progress_clock clock) : clock_(std::move(clock))
{
    view_.caption = PROGRESS_SETTING_UP_TEXT;
    start_ms_ = clock_();
}

progress_event progress_state::apply(int command, std::intptr_t value, const char* text)
{
    const progress_command_row* row = find_command(command);
    if (row == nullptr) {
        return progress_event::ignored;
    }
    switch (row->action) {
    case progress_action::finish:
        return progress_event::finished;
    case progress_action::cancel:
        return progress_event::cancelled;
    case progress_action::start:
        start_ms_ = clock_();
        return progress_event::start_work;
    case progress_action::toggle_percentage:
        mode_ = mode_ == progress_mode::percentage ? progress_mode::count : progress_mode::percentage;
        break;
    case progress_action::toggle_estimate:
        if (mode_ != progress_mode::percentage) {
            mode_ = progress_mode::estimated_time;
        }
        break;
    case progress_action::set_total:
        set_total(value);
        break;
    case progress_action::step:
        move_to(position_ + 1);
        break;
    case progress_action::set_position:
        move_to(value);
        break;
    case progress_action::set_caption:
        view_.caption = text != nullptr ? text : "";
        break;
    }
    return progress_event::updated;
}

void progress_state::set_total(std::intptr_t total)
{
    total_ = std::clamp<std::int64_t>(total, 0, INT_MAX);
    position_ = 0;
    if (total_ > 0) {
        start_ms_ = clock_();
    }
    view_.marquee = total_ == 0;
    view_.range = total_;
    view_.position = 0;
    view_.text = progress_text();
}

void progress_state::move_to(std::int64_t position)
{
    position_ = std::clamp<std::int64_t>(position, 0, total_);
    view_.position = position_;
    view_.text = progress_text();
}

// While the total is unknown there is nothing to count against: the text
// stays empty in every mode (and no percentage divides by 0).
std::string progress_state::progress_text() const
{
    if (total_ == 0) {
        return {};
    }
    char text[64];
    switch (mode_) {
    case progress_mode::percentage:
        std::snprintf(text, sizeof text, PERCENT_PATTERN, static_cast<int>(position_ * 100 / total_));
        return text;
    case progress_mode::estimated_time:
        return estimate_text();
    case progress_mode::count:
        break;
    }
    std::snprintf(text, sizeof text, COUNT_PATTERN, static_cast<int>(position_), static_cast<int>(total_));
    return text;
}

// Time per step from the steps so far, times the steps still to go, as its
// largest duration field ("2 Hours", not "2 Hours, 5 Minutes").
std::string progress_state::estimate_text() const
{
    if (position_ == 0) {
        return ESTIMATE_UNKNOWN;
    }
    const std::uint64_t elapsed = static_cast<std::uint64_t>(std::max<std::int64_t>(clock_() - start_ms_, 0));
    const std::uint64_t per_step = elapsed / static_cast<std::uint64_t>(position_);
    const std::uint64_t remaining =
        std::min(saturating_product(static_cast<std::uint64_t>(total_ - position_), per_step), LONGEST_ESTIMATE_MS);
    std::string duration = format_duration(split_duration(remaining, false), DURATION_IN_WORDS);
    duration = duration.substr(0, duration.find(','));
    if (duration.empty()) {
        return ESTIMATE_UNKNOWN;
    }
    return ESTIMATE_PREFIX + duration;
}
