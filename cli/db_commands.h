// Commands on the test database and sweep files.
#pragma once

struct cli_context;

int run_db_sessions(cli_context& context);        // db sessions FILE
int run_db_tests(cli_context& context);           // db tests FILE SESSION_ID
int run_db_points(cli_context& context);          // db points FILE TEST_ID
int run_db_new_session(cli_context& context);     // db new-session FILE NAME
int run_db_delete_session(cli_context& context);  // db delete-session FILE SESSION_ID
int run_db_delete_test(cli_context& context);     // db delete-test FILE TEST_ID
int run_import(cli_context& context);             // import SWEEP_FILE --db FILE --session ID --name NAME
