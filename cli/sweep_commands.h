// The measurements of the command-line tool.
#pragma once

#include "cli_context.h"

int run_sweep_fra(cli_context& context);
int run_sweep_lcr(cli_context& context);
