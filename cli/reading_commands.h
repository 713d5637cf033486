// The live readings of the command-line tool.
#pragma once

#include "cli_context.h"

int run_reading_fra(cli_context& context);  // reading fra [--count N]
int run_reading_lcr(cli_context& context);  // reading lcr [--count N]
