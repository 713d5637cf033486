#include "cli_context.h"
#include "config_commands.h"

int run_config_read(cli_context& context)
{
    return cli_usage_error(context, "config read is not available yet");
}

int run_config_get(cli_context& context)
{
    return cli_usage_error(context, "config get is not available yet");
}

int run_config_set(cli_context& context)
{
    return cli_usage_error(context, "config set is not available yet");
}
