// The generator monitor's once-a-second read: the generator parameters of
// the connected instrument into the monitor's own configuration model
// (monitor_config, so a read never disturbs current_config), and the copy of
// them that is handed on for display.
#pragma once

#include <atomic>

#include "config/monitor_display.h"

struct s_connection;
class instrument_config;

enum class monitor_read_result {
    complete,  // every parameter read
    stopped,   // the run flag was cleared between two reads
    failed,    // a transfer error: the run flag is cleared, the thread ends after this pass
};

// Reads parameters 122, 7, 51, 49, 48 and 50 in this order with quiet reads
// (the caller holds the link open), and 56 as well on instrument type 7 with
// current option 0. Before each read after the first it stops when run has
// been cleared. A transfer error clears run; nothing is shown.
// On type 9 the link timeout is 500 ms during the reads and is put back as it
// was before this returns: the TCP timeout is process-wide, and the sweeps and
// captures that use the link after the monitor must not inherit it.
monitor_read_result monitor_read_generator(instrument_config& config, s_connection* conn, std::atomic<bool>& run);

// What the monitor shows from the parameters config holds: device flag
// (122 at 1 or more), output (7), waveform (51), amplitude (49), frequency
// (48), offset (50), phase reset (56, type 7 with option 0 only) and the
// amplitude ceiling of the instrument type. Texts are read as atof reads them.
s_monitor_values monitor_values_of(const instrument_config& config, const s_connection& conn);
