// Reading and writing the connected instrument's whole configuration as
// "config read" does: identify the instrument (its type selects the model and
// the parameter names), then one bulk transfer, its messages printed through
// the terminal prompt. A transfer that warned has failed, whatever it moved.
#pragma once

#include "app/user_prompt.h"
#include "cli_context.h"

enum class whole_transfer {
    failed,         // not identified, no name table, or the bulk read gave up
    complete,       // every parameter moved
    with_warnings,  // done, but some parameters failed (their messages printed)
};

// Identifies and selects, then read_all into current_config.
whole_transfer read_whole_configuration(cli_context& context);
// write_all of current_config; the instrument must have been read first.
whole_transfer write_whole_configuration(cli_context& context);
