// Choosing the test database while the main window is created: the database
// remembered in the settings file, or else "default.db" in the working
// directory, created with its tables when missing. Either way the chosen
// path is then opened through db_reopen_last and remembered; when that
// fails the program runs without a database. Runs after settings_load.
#pragma once

class profile_store;
class settings_environment;
class user_prompt;

// prompt shows the messages of this step (owned by the database view).
void startup_choose_database(user_prompt& prompt, settings_environment& environment, profile_store& store);
// The same with the platform's environment and profile store.
void startup_choose_database(user_prompt& prompt);
// Closes the database at shut-down, if one is open.
void shutdown_close_database();
