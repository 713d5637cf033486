// Opening the remembered database ("Init"/"DatabaseFile" of the main
// settings file) and remembering a newly opened one.
#pragma once

#include <functional>
#include <string>

class profile_store;
class user_prompt;

// Closes any open database (telling the close listener first), then opens
// the remembered path in mode (DB_OPEN_CREATE or DB_OPEN_EXISTING). On
// success the path is written back to "Init"/"DatabaseFile". On failure the
// user is told, through owner, with caption "Corvexa2": in DB_OPEN_CREATE
// mode db_open_failure_message; in other modes "Unable to open the last used
// database file <%s>", followed by ": " and SQLite's cause when the file was
// there but could not be opened or read; and no database stays open.
// Nothing is opened when no path is remembered. True when open.
bool db_reopen_last(user_prompt& owner, int mode, profile_store& store);
bool db_reopen_last(user_prompt& owner, int mode);

// The text for the last failed db_open of path, by why it failed:
//   "%s is not a Corvexa2 database file" (another database, or no SQLite file);
//   "Failed to create file %s as a Corvexa2 database" (a new file), with
//   ": " and SQLite's cause when it gave one;
//   "Unable to open the database file <%s>: " and SQLite's cause (a file
//   SQLite could not open or read now: locked, busy, unreadable), since
//   such a file may well be a test database.
std::string db_open_failure_message(const std::string& path);
// The first two of those texts, without a cause.
std::string db_not_a_database_message(const std::string& path);
std::string db_create_failed_message(const std::string& path);

// Makes path the remembered database, in memory and in the settings file.
void db_remember_path(const std::string& path, profile_store& store);

// Called whenever db_reopen_last closes the database, so the database view
// empties its lists. An empty function removes the listener.
void db_set_close_listener(std::function<void()> listener);
