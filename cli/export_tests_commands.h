// The tool's text exports of stored tests.
#pragma once

#include "cli_context.h"

int run_export_tests(cli_context& context);
