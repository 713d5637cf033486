// The analyses of the command-line tool: what the EIS, Piezo and FRA views
// and the graph window derive from a measurement, printed for scripts.
#pragma once

#include "cli_context.h"

int run_analyze_eis(cli_context& context);
int run_analyze_piezo(cli_context& context);
int run_margins(cli_context& context);
int run_combine(cli_context& context);
