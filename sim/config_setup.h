// Puts the configuration the options ask for into a new instrument state:
// the preset's model, the --set values and the configuration knobs, each
// checked against the model so that a mistyped knob fails at start-up
// instead of silently doing nothing.
#pragma once

#include <string>

#include "sim/instrument_state.h"
#include "sim/sim_options.h"

namespace hvxsim {

// False with a message in error for a --set value the parameter does not
// accept, a knob or --set naming a parameter the model lacks, an
// --out-of-limits value the parameter would accept, or --set or a
// parameter knob on an instrument without a configuration.
bool set_up_configuration(const sim_options& options, instrument_state& state, std::string& error);

// The --list-config text: one line per parameter with its number, name,
// kind, accepted values and current value, e.g.
// "  24  Input                   choice  0-2             1".
std::string configuration_listing(const std::string& instrument_key, const instrument_state& state);

}  // namespace hvxsim
