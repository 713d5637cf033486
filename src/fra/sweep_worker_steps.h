// The steps the FRA and LCR sweep workers share: the set-up reads, the
// datalog question, the measurement mode, the data-ready poll and the
// download loop. Each works on the open link of the context and reports to
// its progress reporter (which may be null).
#pragma once

#include <cstdint>
#include <functional>

#include "fra/fra_sweep_worker.h"
#include "fra/sweep_job.h"

void sweep_report(progress_reporter* progress, int command, std::intptr_t value = 0, const char* text = nullptr);
void sweep_sleep_ms(int ms);

// Opens the link; when it will not open, closes it, tells the user "No
// Connection" and ends the progress. True when open.
bool sweep_open_link(const s_sweep_context& context);

// The reset byte, a 100 ms drain and "out,on".
void sweep_wake_instrument(s_connection* conn);

// What the set-up read of the instrument gave: the step count (-1 after a
// transfer error), the phase convention (0 to 2), and whether the user let
// the sweep go on.
struct s_sweep_setup {
    int points = -1;
    int phase_convention = 0;
    bool go_on = true;
};

// Parameters 18 (steps) and 6 (phase convention) into setup.
void sweep_read_steps(const s_sweep_context& context, s_sweep_setup& setup);
// Parameter 58: a datalog that is on is switched off only when the user
// agrees; No stops the sweep.
void sweep_check_datalog(const s_sweep_context& context, s_sweep_setup& setup);
// The step count fits, the datalog question allowed the sweep.
bool sweep_setup_usable(const s_sweep_setup& setup);

// The instrument in the given measurement mode (parameter 1); a change of
// mode gets its settling time. False when the mode could not be read or set.
bool sweep_ensure_mode(const s_sweep_context& context, int mode);

// Polls "DAV?" until bit 2 (sweep data ready) is set; false when cancelled first.
bool sweep_wait_for_data(s_sweep_flags& job, s_connection* conn);

// The part every sweep shares after its set-up: when the set-up allows it,
// the measurement mode and `start_commands` "start" lines; the waiting text;
// then, when started, the data-ready poll and the download with read_point.
// abandoned when it did not start (the mode could not be set either).
sweep_outcome sweep_start_and_download(s_sweep_flags& job, const s_sweep_context& context,
                                       const s_sweep_setup& setup, int mode, int start_commands,
                                       const char* download_command,
                                       const std::function<bool(int index)>& read_point);

// Sends the download command and reads `points` points with read_point
// (given the index; true when the line held a whole point). Before the
// first point a few unusable lines in a row are skipped; after it, any such
// line or a cancel ends the download as failed (download_failed set).
void sweep_download(s_sweep_flags& job, const s_sweep_context& context, const char* command, int points,
                    const std::function<bool(int index)>& read_point);
