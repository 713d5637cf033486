#include "link/comms_log.h"

#include <atomic>
#include <cstdio>
#include <mutex>

#include "app/debug_output.h"
#include "app/path_text.h"
#include "app/user_prompt.h"
#include "link/connection.h"

namespace {

constexpr const char* LOG_HEADER_PATTERN =
    "%s %s CommsLog\nSoftware Version %s_%s (build %s)\n%s***\tLOG FILE OPENED\t***\n";
constexpr const char* LOG_OPEN_FAILED =
    "Error opening comms log for writing\nComms Logging disabled";

#ifdef _WIN32
constexpr char PATH_SEPARATOR = '\\';
#else
constexpr char PATH_SEPARATOR = '/';
#endif

// The logging flag is read by every link operation on whichever thread owns
// the link, and switched by the menu on the main thread.
std::atomic<bool> logging_on{false};
std::atomic<std::uint64_t> transaction_counter{0};
std::mutex path_mutex;
std::string log_path;
comms_log_environment* environment = nullptr;
user_prompt* failure_prompt = nullptr;

comms_log_environment& env()
{
    return environment ? *environment : platform_comms_log_environment();
}

std::string current_path()
{
    std::lock_guard<std::mutex> lock(path_mutex);
    return log_path;
}

// Creates every missing folder on the path, one level at a time.
void make_folders_for(const std::string& path)
{
    for (const std::string& folder : path_parent_folders(path)) {
        if (!env().file_exists(folder)) {
            env().make_directory(folder);
        }
    }
}

std::string header(const std::string& stamp)
{
    char text[256];
    std::snprintf(text, sizeof text, LOG_HEADER_PATTERN, "VEDEVERUROROZO", "Corvexa2", "1", "2", "5",
                  stamp.c_str());
    return text;
}

// The serial number is the third comma-separated field of the identity;
// fewer than three fields give the "unknown" forms.
bool serial_text_of(const s_connection* conn, std::string* serial)
{
    const char* identity = conn->identity;
    int field = 0;
    std::string current;
    for (std::size_t i = 0; i < sizeof conn->identity && identity[i] != '\0'; ++i) {
        if (identity[i] == ',') {
            if (field == 2) {
                break;
            }
            ++field;
            current.clear();
        } else if (field == 2) {
            current += identity[i];
        }
    }
    if (field < 2) {
        return false;
    }
    *serial = current;
    return true;
}

}  // namespace

void comms_log_use_environment(comms_log_environment* e)
{
    environment = e;
}

void comms_log_use_prompt(user_prompt* prompt)
{
    failure_prompt = prompt;
}

std::string comms_log_time_stamp(const log_clock_time& t)
{
    char text[32];
    std::snprintf(text, sizeof text, "[%02d:%02d:%02d.%03d] ", t.hour, t.minute, t.second, t.millisecond);
    return text;
}

std::string comms_log_write(const char* text)
{
    const std::string stamp = comms_log_time_stamp(env().local_time());
    const std::string entry = stamp + text;
    const std::string path = current_path();
    if (!logging_on.load() || path.empty()) {
        debug_output(entry.c_str());
        return entry;
    }
    if (!env().file_exists(path)) {
        make_folders_for(path);
        env().append_text(path, header(stamp));
        if (!env().file_exists(path)) {
            if (failure_prompt) {
                failure_prompt->tell(LOG_OPEN_FAILED, "Error", prompt_icon::none);
            }
            logging_on = false;
            return entry;
        }
    }
    env().append_text(path, entry);
    return entry;
}

bool comms_log_enabled()
{
    return logging_on.load();
}

void comms_log_set_enabled(bool on)
{
    logging_on = on;
}

std::string comms_log_path()
{
    return current_path();
}

void comms_log_set_path(const std::string& path)
{
    std::lock_guard<std::mutex> lock(path_mutex);
    log_path = path;
}

void comms_log_start_in_folder(const std::string& folder, bool fresh_file)
{
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') {
        path += PATH_SEPARATOR;
    }
    path += COMMS_LOG_FILE_NAME;
    if (fresh_file && env().file_exists(path)) {
        env().remove_file(path);
    }
    comms_log_set_path(path);
    logging_on = true;
}

void comms_log_link_entry(const s_connection* conn, link_log_event event, const char* text, std::size_t len)
{
    const std::uint64_t number = ++transaction_counter;
    if (!logging_on.load()) {
        return;
    }
    try {
        std::string serial;
        const bool known = serial_text_of(conn, &serial);
        const bool reset_byte = event == link_log_event::sent && len == 1 && text[0] == LINK_RESET_BYTE;
        const char* arrow = event == link_log_event::sent ? ">>" : "<<";
        char prefix[160];
        if (known) {
            std::snprintf(prefix, sizeof prefix, "(%05llu) [serial:%s]%s\t", static_cast<unsigned long long>(number),
                          serial.c_str(), arrow);
        } else {
            // The unknown form of a values read has no space before "<<".
            const char* space = event == link_log_event::values_read ? "" : " ";
            std::snprintf(prefix, sizeof prefix, "(%05llu) [serial:unknown]%s%s\t",
                          static_cast<unsigned long long>(number), space, arrow);
        }
        std::string entry = prefix;
        if (reset_byte) {
            entry += "\\024\n";
        } else {
            entry.append(text, len);
            if (event != link_log_event::sent) {
                entry += '\n';
            }
        }
        comms_log_write(entry.c_str());
    } catch (const std::exception& e) {
        std::fputs(e.what(), stdout);
    }
}

std::uint64_t comms_log_counter()
{
    return transaction_counter.load();
}
