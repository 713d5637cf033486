// Where accepted sweep settings go: the configuration model (each value only
// when it differs from what the model holds, so an unchanged setting is not
// marked for writing), the sweep request with the repeat settings, and the
// header of the database test the FRA view stores after the sweep.
#pragma once

#include "config/instrument_config.h"
#include "db/db_records.h"
#include "fra/sweep_request.h"
#include "fra/sweep_settings_validate.h"

// Steps as an integer; the frequencies and the window time as the numbers
// parse_eng read (stored in the model's exponent form, compared with the
// held text); minimum cycles as the checked integer ("%d"); the speed as its
// option index. Minimum cycles, speed and window time only when the sweep
// uses them, and the window time only when it was checked.
void store_sweep_settings(instrument_config& config, const s_sweep_settings_accepted& values);

// Fills the request; a repeating sweep sets `repeating` and takes the count
// and interval, any other type clears `repeating` and the count.
void apply_sweep_settings(const s_sweep_settings_accepted& values, s_sweep_request& request,
                          s_repeat_settings& repeat);

// The database test header (session, test name, project name, description),
// texts cut to the record's widths.
s_db_test pending_test_of(const s_sweep_settings_accepted& values);
