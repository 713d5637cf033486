// Commands that talk to the instrument over the link.
#pragma once

struct cli_context;

int run_identify(cli_context& context);
int run_query(cli_context& context);
int run_values(cli_context& context);
