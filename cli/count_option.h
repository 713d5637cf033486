// "--count N" as the commands that print one line after another take it.
#pragma once

#include "cli_context.h"

inline constexpr long MAX_COUNT = 1000000;

// The command's words are nothing or "--count N" with N from 1 to
// MAX_COUNT: count is N, or 0 for none. False with a usage message printed
// and its exit status in status.
bool parse_count_option(cli_context& context, const char* command, long* count, int* status);
