// What the views tell the user when a measurement thread cannot be started
// (caption the program's name, information icon).
#pragma once

inline constexpr const char* SWEEP_THREAD_FAILED_TEXT = "The FRA sweep measurement thread failed!!";
inline constexpr const char* REALTIME_THREAD_FAILED_TEXT = "The FRA realtime measurement thread failed!!";
