// config report: the settings report of the connected instrument's
// configuration, read whole as "config read" reads it, on standard output
// (line ends as the terminal takes them; the report's own are CR LF).
// A read that warned still prints the report, and exits 1.
#include <cstdio>
#include <string>

#include "cli_context.h"
#include "config/config_selection.h"
#include "config/settings_report.h"
#include "config_commands.h"
#include "whole_configuration.h"

int run_config_report(cli_context& context)
{
    if (!context.args.empty()) {
        return cli_usage_error(context, "config report takes no arguments");
    }
    const whole_transfer read = read_whole_configuration(context);
    if (read == whole_transfer::failed) {
        return CLI_FAILED;
    }
    const std::string text = settings_report(*current_config);
    std::string lines;
    lines.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            lines += text[i];
        }
    }
    std::fputs(lines.c_str(), context.out);
    return read == whole_transfer::complete ? CLI_OK : CLI_FAILED;
}
