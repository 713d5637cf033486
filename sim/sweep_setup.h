// Puts the measurement options (--dut, --point-ms, --settle-ms and the
// measurement fault knobs) into a new instrument state.
#pragma once

#include "sim/instrument_state.h"
#include "sim/sim_options.h"

namespace hvxsim {

void set_up_measurement(const sim_options& options, instrument_state& state);

}  // namespace hvxsim
