// What the settings code asks of the system, behind one interface so tests can
// give it folders, a clock and a file system of their own.
#pragma once

#include <string>

// A moment in Coordinated Universal Time; month 1 to 12, four-digit year.
struct s_utc_time {
    int year = 1970;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

class settings_environment {
public:
    virtual ~settings_environment() = default;
    // The user's local application-data folder; "" when the system cannot say.
    virtual std::string local_app_data_folder() = 0;
    // The user's documents folder; "" when the system cannot say.
    virtual std::string documents_folder() = 0;
    // The folder for temporary files; "" when the system cannot say.
    virtual std::string temporary_folder() = 0;
    // The process's working directory; "" when the system cannot say.
    virtual std::string current_directory() = 0;
    // Creates one folder (its parent must exist); failure is silent, as when
    // the folder is already there.
    virtual void make_directory(const std::string& path) = 0;
    // True when path names an existing file (not a folder).
    virtual bool file_exists(const std::string& path) = 0;
    virtual s_utc_time utc_now() = 0;
};

// The real system: the shell's folders on Windows; $LOCALAPPDATA (else
// $XDG_DATA_HOME, else $HOME/.local/share), $HOME and $TMPDIR (else /tmp) on
// other systems. Folders come without a trailing separator.
settings_environment& platform_settings_environment();

// The system clock in UTC (shared by both platform environments).
s_utc_time system_utc_now();
