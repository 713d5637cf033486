#include "cli_context.h"
#include "db_commands.h"

namespace {

int not_yet(cli_context& context)
{
    return cli_usage_error(context, "the database commands are not available yet");
}

}  // namespace

int run_db_sessions(cli_context& context) { return not_yet(context); }
int run_db_tests(cli_context& context) { return not_yet(context); }
int run_db_points(cli_context& context) { return not_yet(context); }
int run_db_new_session(cli_context& context) { return not_yet(context); }
int run_db_delete_session(cli_context& context) { return not_yet(context); }
int run_db_delete_test(cli_context& context) { return not_yet(context); }
