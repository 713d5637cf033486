#include "cli_context.h"
#include "config_commands.h"

int run_config_defaults(cli_context& context)
{
    return cli_usage_error(context, "config defaults is not available yet");
}
