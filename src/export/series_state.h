// How far the FRA and LCR views' series of repeated sweeps has run: set by
// the views as a series starts and each sweep of it comes in, read by the
// series exports (a series is exported only once it has run to its end).
#pragma once

struct s_series_state {
    int repeat_count = 0;  // sweeps the series was set up for; 0 when no series was set up
    int repeat_done = 0;   // sweeps of it completed
};

s_series_state& fra_series_state();
s_series_state& lcr_series_state();
