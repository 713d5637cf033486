#include "app/startup_database.h"

#include <string>

#include "app/path_text.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/settings_environment.h"
#include "app/user_prompt.h"
#include "db/db_connection.h"
#include "db/db_path.h"
#include "db/db_reopen.h"

namespace {

constexpr const char* default_database_name = "default.db";
constexpr const char* program_caption = "Corvexa2";

}  // namespace

void startup_choose_database(user_prompt& prompt, settings_environment& environment, profile_store& store)
{
    const std::string remembered = database_file_path();
    if (remembered.empty() || !db_file_exists(remembered)) {
        if (!remembered.empty()) {
            const std::string message =
                "Unable to load last database file:\n" + remembered + "\nLoading default database.";
            prompt.tell(message.c_str(), program_caption, prompt_icon::none);
        }
        const std::string fallback = path_join(environment.current_directory(), default_database_name);
        bool created = false;
        db_open(fallback, DB_OPEN_CREATE, &created);
        set_database_file_path(fallback);
    }
    db_reopen_last(prompt, DB_OPEN_EXISTING, store);
}

void startup_choose_database(user_prompt& prompt)
{
    startup_choose_database(prompt, platform_settings_environment(), platform_profile_store());
}

void shutdown_close_database()
{
    if (db_is_open()) {
        db_close();
    }
}
