// What every command that works with the instrument's configuration does
// first: identify the instrument (its type selects the model and the
// parameter names) and select the model, as the program does on connecting.
#pragma once

#include "cli_context.h"

// False, with the identification's own text printed, when no instrument
// was identified.
bool identify_and_select(cli_context& context);
