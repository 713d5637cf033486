// The commands of the command-line tool, one row each. A command's name may
// be several words ("config read"); the longest name matching the leading
// words of the command line wins.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "cli_context.h"

struct cli_command {
    const char* name;
    const char* usage;    // arguments after the name
    const char* summary;
    bool needs_connection;
    int (*run)(cli_context& context);
};

std::span<const cli_command> cli_commands();

// The command named by the leading words, with the number of words its name takes.
const cli_command* find_cli_command(const std::vector<std::string>& words, std::size_t* name_words);
