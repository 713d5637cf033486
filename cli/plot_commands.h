// plot KIND ...: the program's graphs drawn into pictures.
#pragma once

#include "cli_context.h"

int run_plot(cli_context& context);
