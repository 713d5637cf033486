// The live reading both the FRA and the LCR views run with their "START"
// button: one reading after another while a measurement is active
// (activity_state not 0), each taken only when the view has shown the last
// one and set the job's `running` again.
#pragma once

#include <functional>

#include "fra/sweep_job.h"

inline constexpr int LIVE_READING_TIMEOUT_MS = 3000;
inline constexpr int LIVE_READING_PASS_MS = 10;

// What one reading gave.
enum class live_reading_step {
    posted,  // the view was told; the next comes when it sets `running`
    retry,   // unusable: take another at once
    stop,    // this instrument gives no readings: take no more
};

// Opens the link (nothing happens when the instrument is not connected or
// the link does not open), sends "out,on", and reads with read_once while
// activity_state() is not 0, under the live reading's 3000 ms link timeout,
// which is put back as it was when the loop ends. The wait cursor is shown
// while each reading is taken. The link is closed at the end.
void run_live_reading(s_sweep_flags& job, const s_sweep_context& context,
                      const std::function<live_reading_step(s_connection*)>& read_once);

// The FRA view's live reading: "*wai;fra?" into job.reading, 129 to the
// job's owner for each whole reading; a short reply resets the wire and
// asks again.
void fra_live_worker(s_sweep_job& job, const s_sweep_context& context);
