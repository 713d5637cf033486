// The comms log: every command sent to the instrument and every reply read,
// with a time stamp, a running transaction number and the instrument's serial
// number, plus marker lines from identification, configuration transfer and
// the Office automation. The file is opened and closed for every entry, so
// nothing is lost if the program ends abruptly. While logging is off, entries
// that are not link traffic go to the debug output instead.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

struct s_connection;
class user_prompt;

inline constexpr const char* COMMS_LOG_FILE_NAME = "CORVEXA2_COMMS.log";

struct log_clock_time {
    int hour;
    int minute;
    int second;
    int millisecond;
};

// What the log needs from the outside world; tests substitute a fake.
class comms_log_environment {
public:
    virtual ~comms_log_environment() = default;
    virtual log_clock_time local_time() = 0;
    virtual bool file_exists(const std::string& path) = 0;
    virtual bool make_directory(const std::string& path) = 0;
    // Appends text to the file (creating it), each "\n" written as CR LF.
    virtual bool append_text(const std::string& path, const std::string& text) = 0;
    virtual bool remove_file(const std::string& path) = 0;
};

comms_log_environment& platform_comms_log_environment();

// Replace the environment or the prompt that reports an unwritable log (tests,
// the command-line tool). nullptr restores the platform environment / a
// prompt that shows nothing.
void comms_log_use_environment(comms_log_environment* env);
void comms_log_use_prompt(user_prompt* prompt);

// "[hh:mm:ss.mmm] " for the given time.
std::string comms_log_time_stamp(const log_clock_time& t);

// Writes one entry (time stamp + text) and returns it.
std::string comms_log_write(const char* text);

bool comms_log_enabled();
void comms_log_set_enabled(bool on);
std::string comms_log_path();
void comms_log_set_path(const std::string& path);
// Logging on, into folder + separator + "CORVEXA2_COMMS.log". With
// fresh_file set, an existing log of that name is deleted first so the
// session starts a new file with a new header.
void comms_log_start_in_folder(const std::string& folder, bool fresh_file);

// Kinds of link traffic entries.
enum class link_log_event { sent, line_read, values_read };

// Advances the transaction counter and, when logging is on, writes the link
// entry for text (len bytes; the raw text as sent or read).
void comms_log_link_entry(const s_connection* conn, link_log_event event, const char* text, std::size_t len);

std::uint64_t comms_log_counter();
