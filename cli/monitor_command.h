// The generator monitor on the terminal.
#pragma once

#include "cli_context.h"

int run_monitor(cli_context& context);  // monitor [--count N]
