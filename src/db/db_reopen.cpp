#include "db/db_reopen.h"

#include <mutex>
#include <utility>

#include "app/profile_store.h"
#include "app/settings.h"
#include "app/settings_keys.h"
#include "app/user_prompt.h"
#include "db/db_connection.h"

namespace {

constexpr const char* program_caption = "Corvexa2";

std::mutex listener_lock;

std::function<void()>& close_listener()
{
    static std::function<void()> listener;
    return listener;
}

void close_database()
{
    std::function<void()> listener;
    {
        const std::lock_guard<std::mutex> hold(listener_lock);
        listener = close_listener();
    }
    if (listener) {
        listener();
    }
    db_close();
}

// ": cause", or "" when there is none.
std::string cause_suffix(const s_db_open_result& result)
{
    return result.cause.empty() ? std::string() : ": " + result.cause;
}

std::string failure_message(int mode, const std::string& path)
{
    if (mode == DB_OPEN_CREATE) {
        return db_open_failure_message(path);
    }
    const s_db_open_result result = db_last_open();
    const bool has_cause =
        result.outcome == db_open_outcome::cannot_open || result.outcome == db_open_outcome::unreadable;
    return "Unable to open the last used database file <" + path + ">" +
           (has_cause ? cause_suffix(result) : std::string());
}

}  // namespace

bool db_reopen_last(user_prompt& owner, int mode, profile_store& store)
{
    close_database();
    const std::string path = database_file_path();
    if (path.empty()) {
        return false;
    }
    bool created = false;
    if (db_open(path, mode, &created)) {
        db_remember_path(path, store);
        return true;
    }
    owner.tell(failure_message(mode, path).c_str(), program_caption, prompt_icon::information);
    close_database();
    return false;
}

bool db_reopen_last(user_prompt& owner, int mode)
{
    return db_reopen_last(owner, mode, platform_profile_store());
}

std::string db_open_failure_message(const std::string& path)
{
    const s_db_open_result result = db_last_open();
    switch (result.outcome) {
        case db_open_outcome::not_a_database:
            return db_not_a_database_message(path);
        case db_open_outcome::create_failed:
            return db_create_failed_message(path) + cause_suffix(result);
        case db_open_outcome::cannot_open:
        case db_open_outcome::unreadable:
        case db_open_outcome::opened:
        case db_open_outcome::closed_only:
            break;
    }
    return "Unable to open the database file <" + path + ">" + cause_suffix(result);
}

std::string db_not_a_database_message(const std::string& path)
{
    return path + " is not a " + program_caption + " database file";
}

std::string db_create_failed_message(const std::string& path)
{
    return "Failed to create file " + path + " as a " + program_caption + " database";
}

void db_remember_path(const std::string& path, profile_store& store)
{
    set_database_file_path(path);
    if (!settings_file().empty()) {
        store.write_string(settings_file(), setting_database_file.section, setting_database_file.key,
                           path.c_str());
    }
}

void db_set_close_listener(std::function<void()> listener)
{
    const std::lock_guard<std::mutex> hold(listener_lock);
    close_listener() = std::move(listener);
}
