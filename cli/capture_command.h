// The instrument's screen as a bitmap file.
#pragma once

#include "cli_context.h"

int run_capture(cli_context& context);  // capture --out FILE.bmp [--group 1|2] [--colour]
