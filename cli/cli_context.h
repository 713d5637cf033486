// What every command of the command-line tool is given: its own words, the
// connection chosen by the connection options (or the settings file), and
// where to print.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct s_connection;
class user_prompt;

struct cli_context {
    std::vector<std::string> args;  // the words after the command's name
    s_connection* connection = nullptr;
    user_prompt* prompt = nullptr;
    std::FILE* out = stdout;
    std::FILE* err = stderr;
};

// Exit statuses shared by all commands.
inline constexpr int CLI_OK = 0;
inline constexpr int CLI_FAILED = 1;
inline constexpr int CLI_USAGE = 2;

// A usage error: the message and the usage line on standard error; returns CLI_USAGE.
int cli_usage_error(const cli_context& context, const std::string& message);
