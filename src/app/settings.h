// The per-user settings folder and the main settings file: where they are,
// creating them on a first run, and the values read from the file at start.
//
// The folder is the local application-data folder followed by
// "Zelvorian" and "Corvexa". When the system cannot name that folder, names
// it by a relative path, or the paths built from it would be longer than the
// system takes, there is no settings file: reads give their defaults and
// writes fail. No other folder stands in for it, so the program never
// leaves settings files where nobody asked for them (such as the folder it
// was started in).
//
// A "Connect" value the connection record cannot take as it is (a port name
// or address too long for it, an unknown interface number) is not used: the
// record keeps that field's default and settings_problems() names the value.
//
// State is process-wide and belongs to the main thread; settings_load runs
// once while the main window is created, before anything reads it.
#pragma once

#include <string>
#include <vector>

class profile_store;
class settings_environment;

// The kinds of graph settings file: 0 Bode, 1 Nyquist, 2 EIS.
inline constexpr int graph_settings_kind_count = 3;

inline constexpr char default_decimal_separator = '.';
inline constexpr char default_thousands_separator = ',';

// Finds or creates the folder and the main settings file, then reads the
// "Connect" values into the_connection() and holds the others (accessors below).
void settings_load(settings_environment& environment, profile_store& store);
// The same with the platform's environment and profile store.
void settings_load();

// The messages about values of the settings file that settings_load
// refused, in the order read ("" none): for the caller to show.
class user_prompt;

const std::vector<std::string>& settings_problems();

// Tells the user, in one message, which values of the settings file were
// refused and left at their defaults; nothing when there are none.
void settings_tell_problems(user_prompt& prompt);

const std::string& settings_folder();
const std::string& settings_file();
// "" for a kind outside 0 to graph_settings_kind_count - 1.
const std::string& graph_settings_file(int kind);

// "Init"/"DatabaseFile": the test database chosen last ("" when none).
const std::string& database_file_path();
void set_database_file_path(const std::string& path);

// "Settings": the number format of exports and its custom separators
// (their keys are read and written by number_format_settings.h).
int number_format_type();
void set_number_format_type(int type);
char decimal_separator();
void set_decimal_separator(char separator);
char thousands_separator();
void set_thousands_separator(char separator);

// Folders asked of the system at each call; "" when it cannot say.
std::string user_documents_folder();
std::string temporary_folder();
