// corvexa2-cli: drives the program's core without windows, for scripts and
// production lines. See usage() for the commands; exit status 0 on success,
// 1 when the operation failed, 2 for a usage error.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "app/settings.h"
#include "cli_context.h"
#include "command_table.h"
#include "connection_options.h"
#include "link/comms_log.h"
#include "link/connection.h"
#include "terminal_prompt.h"
#include "terminal_text.h"

namespace {

void print_usage(std::FILE* out)
{
    std::fputs("usage: corvexa2-cli [connection options] COMMAND [ARGUMENTS]\n"
               "\n"
               "connection options (without one, the Connect values of the settings file apply):\n"
               "  --lan ADDRESS            TCP to the instrument at ADDRESS, port 10001\n"
               "  --serial PORT [--baud N] RS232 port (COM1...; on Linux also a device path)\n"
               "  --usb PORT               the instrument's USB serial port (19200 baud)\n"
               "  --log DIR                write the comms log CORVEXA2_COMMS.log in DIR\n"
               "\n"
               "commands:\n",
               out);
    for (const cli_command& command : cli_commands()) {
        std::string line = std::string(command.name) + (command.usage[0] ? " " : "") + command.usage;
        std::fprintf(out, "  %-28s %s\n", line.c_str(), command.summary);
    }
}

}  // namespace

int cli_usage_error(const cli_context& context, const std::string& message)
{
    std::fprintf(context.err, "corvexa2-cli: %s\n", message.c_str());
    std::fprintf(context.err, "Try 'corvexa2-cli --help'.\n");
    return CLI_USAGE;
}

int main(int argc, char** argv)
{
    std::vector<std::string> words(argv + 1, argv + argc);
    terminal_use_program_code_page();
    cli_context context;
    context.out = terminal_stream(stdout);
    context.err = terminal_stream(stderr);
    terminal_prompt prompt(context.out);
    terminal_prompt error_prompt(context.err);
    context.prompt = &prompt;
    std::string error;
    if (!program_words(&words, &error)) {
        return cli_usage_error(context, error);
    }
    connection_options options;
    if (!take_connection_options(&words, &options, &error)) {
        return cli_usage_error(context, error);
    }
    // Help is asked for in the command's place only: the same word as an
    // argument (a session called "help", "query help") is just a word.
    if (!words.empty() && (words[0] == "--help" || words[0] == "-h" || words[0] == "help")) {
        print_usage(context.out);
        return CLI_OK;
    }
    std::size_t name_words = 0;
    const cli_command* command = find_cli_command(words, &name_words);
    if (!command) {
        return cli_usage_error(context, words.empty() ? "no command given" : "unknown command: " + words[0]);
    }
    context.args.assign(words.begin() + static_cast<std::ptrdiff_t>(name_words), words.end());

    if (!options.log_folder.empty()) {
        comms_log_use_prompt(&error_prompt);
        comms_log_start_in_folder(options.log_folder, false);
    }
    if (command->needs_connection) {
        context.connection = &the_connection();
        if (options.interface == 0) {
            settings_load();
        }
        if (!apply_connection_options(options, context.connection, &error)) {
            return cli_usage_error(context, error);
        }
    }
    const int status = command->run(context);
    std::fflush(context.out);
    std::fflush(context.err);
    return status;
}
