// The FRA view's gain and phase margin search ("Find Gain/Phase Margin"): the
// 0 dB and 0 degree crossings of the shown sweep (frequency, gain and phase
// fields), told in one message box each (caption "Corvexa2", information
// icon), the 0 dB search first.
#pragma once

#include <string>

#include "app/user_prompt.h"
#include "fra/crossing_search.h"
#include "fra/llist.h"
#include "fra/sweep_records.h"

// The crossings of the sweep as the view keeps them while a search runs: the
// frequency field holds the crossing frequency and the phase field (0 dB) or
// the gain field (0 degrees) the interpolated value; every other field is 0.
// Appended to found in the order found.
void fra_sweep_crossings(const s_fra_sweep& sweep, crossing_kind kind, LList<s_fra_result>& found);

// The message that reports the crossings of one kind ("No gain 0dB point
// found", "0dB point = freq: ... phase: ...", or the numbered list of the
// first ten with "..." when there are more).
std::string crossings_message(const LList<s_fra_result>& found, crossing_kind kind);

// The texts the two searches show, as the command-line tool prints them.
std::string zero_db_points_text(const s_fra_sweep& sweep);
std::string zero_phase_points_text(const s_fra_sweep& sweep);

// The searches themselves, each telling its message.
void find_zero_db_points(const s_fra_sweep& sweep, user_prompt& prompt);
void find_zero_phase_points(const s_fra_sweep& sweep, user_prompt& prompt);
// The button: the 0 dB search, then the 0 degree search.
void find_gain_phase_margin(const s_fra_sweep& sweep, user_prompt& prompt);
