// Puts the display the options ask for into a new instrument state: the
// picture (--screen, else the built-in one, at the preset's screen size)
// and the screen reply knobs.
#pragma once

#include <string>

#include "sim/instrument_state.h"
#include "sim/sim_options.h"

namespace hvxsim {

// False with a message in error when the --screen file cannot be read as
// a picture of the screen's size.
bool set_up_screen(const sim_options& options, instrument_state& state, std::string& error);

// --write-screen and --write-screen-mono: the picture's files. False with
// a message when one cannot be written.
bool write_screen_files(const sim_options& options, const instrument_state& state, std::string& error);

}  // namespace hvxsim
