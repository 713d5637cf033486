// The impedance sweep the instrument runs by itself, for the LCR, EIS and
// Piezo views: as the FRA sweep, with the instrument in its LCR mode, the
// result layout chosen by what it measures, and "LCR,SWEEP?" lines.
#pragma once

#include <memory>

#include "fra/fra_sweep_worker.h"
#include "fra/sweep_job.h"
#include "impedance/lcr_reading.h"

inline constexpr int LCR_SWEEP_DOWNLOADED_COMMAND = 185;
inline constexpr int LCR_LIVE_READING_COMMAND = 184;    // a new live reading, to the owner
inline constexpr int LCR_RESULTS_REDRAW_COMMAND = 182;  // to the LCR results window, value 1
inline constexpr const char* LCR_DOWNLOAD_ERROR_TEXT = "There was an error downloading sweep data";
inline constexpr const char* LCR_DOWNLOAD_ERROR_CAPTION = "Unable to download data";

struct s_lcr_sweep_job : s_sweep_flags {
    // The Piezo view measures impedance whatever the instrument was set to,
    // and puts the setting back afterwards.
    bool piezo_view = false;
    command_sink* results = nullptr;  // the LCR results window, redrawn for each live reading
    double reading[LCR_READING_VALUES] = {};
    // The block and its layout code travel together: a view that shows the
    // block reads it with the layout it was measured in.
    int layout = 3;
    std::unique_ptr<s_lcr_sweep> block = make_lcr_sweep();
};

// The layout of a sweep from what the instrument measures (parameter 137)
// on type-9 instruments: admittance 8, impedance 7, anything else 6; every
// other instrument 3.
int lcr_sweep_layout(int instrument_type, int measured_quantity);

// One sweep into job.block. Posts 10002 first and 10001 last whatever
// happens; a Piezo run puts parameter 137 back on every way out; the link is
// closed before the view hears of the result (185, or the download error).
sweep_outcome lcr_sweep_worker(s_lcr_sweep_job& job, const s_sweep_context& context);
