// The time display of a timer: the time left until it is due (countdown) or
// the time passed since it was added, as "hh:mm:ss\n" with the hours
// modulo 24 (the line end belongs to the text).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

inline constexpr std::size_t TIMER_TEXT_SIZE = 16;
using timer_text = std::array<char, TIMER_TEXT_SIZE>;

// Whole milliseconds (truncated) left until start_ms + interval_ms, or passed
// since start_ms, at now; 0 when negative or not a number, and held below
// 2^62 however large the interval.
std::int64_t timer_display_ms(std::int64_t start_ms, double interval_ms, bool countdown, std::int64_t now_ms);

// "%02d:%02d:%02d\n" of hours mod 24, minutes and seconds of value_ms.
timer_text format_timer_display(std::int64_t value_ms);
