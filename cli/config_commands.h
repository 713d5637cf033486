// Commands on the instrument configuration.
#pragma once

struct cli_context;

int run_config_defaults(cli_context& context);  // config defaults TYPE
int run_config_read(cli_context& context);      // config read
int run_config_get(cli_context& context);       // config get ID
int run_config_set(cli_context& context);       // config set ID VALUE
int run_config_report(cli_context& context);    // config report
int run_config_save(cli_context& context);      // config save FILE
int run_config_load(cli_context& context);      // config load FILE [--yes]
