#include "cli_context.h"
#include "db_commands.h"

int run_import(cli_context& context)
{
    return cli_usage_error(context, "import is not available yet");
}
