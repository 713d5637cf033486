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
// mode "Failed to create file %s as a Corvexa2 database" when the file was to
// be created, else "%s is not a Corvexa2 database file"; in other modes
// "Unable to open the last used database file <%s>"; and no database stays
// open. Nothing is opened when no path is remembered. True when open.
bool db_reopen_last(user_prompt& owner, int mode, profile_store& store);
bool db_reopen_last(user_prompt& owner, int mode);

// The texts of a failed DB_OPEN_CREATE open: an existing file that is not a
// test database, and a new file that could not be made one.
std::string db_not_a_database_message(const std::string& path);
std::string db_create_failed_message(const std::string& path);

// Makes path the remembered database, in memory and in the settings file.
void db_remember_path(const std::string& path, profile_store& store);

// Called whenever db_reopen_last closes the database, so the database view
// empties its lists. An empty function removes the listener.
void db_set_close_listener(std::function<void()> listener);
