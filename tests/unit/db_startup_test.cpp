// Choosing the test database at start-up and reopening the remembered one:
// the default database of a first run, the fallback when the remembered file
// is gone, the messages of each failure, and the path written back to the
// main settings file. Real files under temporary folders, the portable
// profile store and an injected settings environment.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/path_text.h"
#include "app/profile_store.h"
#include "app/settings.h"
#include "app/settings_environment.h"
#include "app/startup_database.h"
#include "db/db_connection.h"
#include "db/db_read.h"
#include "db/db_reopen.h"
#include "db/db_write.h"
#include "support/file_bytes.h"
#include "support/recording_prompt.h"
#include "support/folder_settings_environment.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;


class StartupDatabase : public ::testing::Test {
protected:
    void SetUp() override
    {
        environment.app_data = app_data.path();
        environment.working = working.path();
        db_use_prompt(&database_errors);
        db_set_close_listener([this] { ++closings; });
    }
    void TearDown() override
    {
        db_close();
        db_use_prompt(nullptr);
        db_set_close_listener({});
    }
    // Loads the settings, with "Init"/"DatabaseFile" set first when given.
    void load_settings(const std::string* remembered = nullptr)
    {
        settings_load(environment, store);
        if (remembered != nullptr) {
            store.write_string(settings_file(), "Init", "DatabaseFile", remembered->c_str());
            settings_load(environment, store);
        }
    }
    std::string stored_path()
    {
        return store.read_string(settings_file(), "Init", "DatabaseFile", "(none)", 1000);
    }
    // A test database holding one session named name.
    std::string make_database(const std::string& file, const char* name)
    {
        bool created = false;
        EXPECT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
        s_db_session session;
        std::snprintf(session.name, sizeof session.name, "%s", name);
        EXPECT_EQ(db_save_session(session, false), 0);
        db_close();
        return file;
    }

    temp_folder app_data;
    temp_folder working;
    temp_folder elsewhere;
    folder_settings_environment environment;
    profile_store& store = portable_profile_store();
    recording_prompt prompt;           // the start-up's own messages
    recording_prompt database_errors;  // the database's errors
    int closings = 0;
    std::string default_path = path_join(working.path(), "default.db");
};

TEST_F(StartupDatabase, AFirstRunCreatesTheDefaultDatabaseSilentlyAndRemembersIt)
{
    load_settings();
    startup_choose_database(prompt, environment, store);

    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_TRUE(database_errors.messages.empty());
    ASSERT_TRUE(db_is_open());
    EXPECT_EQ(db_open_path(), default_path);
    EXPECT_EQ(database_file_path(), default_path);
    EXPECT_EQ(stored_path(), default_path);
    EXPECT_NE(read_bytes(settings_file()).find("DatabaseFile=" + default_path + "\r\n"), std::string::npos);
    // The new file has the tables: it takes a session.
    s_db_session session;
    EXPECT_EQ(db_save_session(session, false), 0);

    // Shut-down closes it.
    shutdown_close_database();
    EXPECT_FALSE(db_is_open());
}

TEST_F(StartupDatabase, ARememberedDatabaseIsOpenedAsItIs)
{
    const std::string file = make_database(path_join(elsewhere.path(), "site.db"), "North Yard");
    load_settings(&file);
    startup_choose_database(prompt, environment, store);

    EXPECT_TRUE(prompt.messages.empty());
    ASSERT_TRUE(db_is_open());
    EXPECT_EQ(db_open_path(), file);
    EXPECT_EQ(db_find_session_by_name("North Yard"), 1);
    EXPECT_FALSE(fs::exists(default_path));
    EXPECT_EQ(stored_path(), file);
}

TEST_F(StartupDatabase, ADeletedRememberedDatabaseIsToldOnceAndTheDefaultTakesItsPlace)
{
    const std::string gone = path_join(elsewhere.path(), "gone.db");
    make_database(default_path, "Kept in the default");  // an existing default is used as it is
    load_settings(&gone);
    startup_choose_database(prompt, environment, store);

    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text,
              "Unable to load last database file:\n" + gone + "\nLoading default database.");
    EXPECT_EQ(prompt.messages[0].caption, "Corvexa2");
    ASSERT_TRUE(db_is_open());
    EXPECT_EQ(db_open_path(), default_path);
    EXPECT_EQ(db_find_session_by_name("Kept in the default"), 1);
    EXPECT_EQ(stored_path(), default_path);
    EXPECT_FALSE(fs::exists(gone));
}

TEST_F(StartupDatabase, ARememberedFileThatIsNoDatabaseLeavesNoneOpen)
{
    const std::string file = path_join(elsewhere.path(), "notes.db");
    std::ofstream(file, std::ios::binary) << "not a database";
    load_settings(&file);
    startup_choose_database(prompt, environment, store);

    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to open the last used database file <" + file + ">");
    EXPECT_EQ(prompt.messages[0].caption, "Corvexa2");
    EXPECT_EQ(prompt.messages[0].icon, prompt_icon::information);
    EXPECT_FALSE(db_is_open());
    EXPECT_EQ(read_bytes(file), "not a database");
    EXPECT_EQ(stored_path(), file);
    EXPECT_FALSE(fs::exists(default_path));
}

TEST_F(StartupDatabase, WhenEvenTheDefaultCannotBeMadeTheProgramRunsWithoutADatabase)
{
    environment.working = path_join(working.path(), "missing");
    load_settings();
    startup_choose_database(prompt, environment, store);

    const std::string fallback = path_join(environment.working, "default.db");
    // Both attempts (creating the default, then reopening it) fail to open.
    ASSERT_EQ(database_errors.messages.size(), 2u);
    for (const auto& error : database_errors.messages) {
        EXPECT_EQ(error.text, "Unable to open Database file\nError Code: 14");
    }
    ASSERT_EQ(prompt.messages.size(), 1u);
    EXPECT_EQ(prompt.messages[0].text, "Unable to open the last used database file <" + fallback + ">");
    EXPECT_FALSE(db_is_open());
    EXPECT_FALSE(fs::exists(environment.working));
}

TEST_F(StartupDatabase, ReopeningInCreateModeTellsWhyAFileWasRefused)
{
    load_settings();
    const struct {
        std::string path;
        std::string message;
    } cases[] = {
        {path_join(path_join(elsewhere.path(), "no folder"), "new.db"),
         "Failed to create file " + path_join(path_join(elsewhere.path(), "no folder"), "new.db") +
             " as a Corvexa2 database"},
        {path_join(elsewhere.path(), "text.db"),
         path_join(elsewhere.path(), "text.db") + " is not a Corvexa2 database file"},
    };
    std::ofstream(cases[1].path, std::ios::binary) << "text";
    for (const auto& c : cases) {
        prompt.messages.clear();
        closings = 0;
        set_database_file_path(c.path);
        EXPECT_FALSE(db_reopen_last(prompt, DB_OPEN_CREATE, store));
        ASSERT_EQ(prompt.messages.size(), 1u);
        EXPECT_EQ(prompt.messages[0].text, c.message);
        EXPECT_EQ(prompt.messages[0].caption, "Corvexa2");
        EXPECT_FALSE(db_is_open());
        EXPECT_EQ(closings, 2);  // before the open and after the failure
        EXPECT_EQ(stored_path(), "(none)");
    }

    // A new file is made with its tables and remembered.
    const std::string made = path_join(elsewhere.path(), "made.db");
    set_database_file_path(made);
    closings = 0;
    EXPECT_TRUE(db_reopen_last(prompt, DB_OPEN_CREATE, store));
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(stored_path(), made);
    s_db_session session;
    EXPECT_EQ(db_save_session(session, false), 0);

    // Nothing remembered: the database is closed and nothing else happens.
    set_database_file_path("");
    EXPECT_FALSE(db_reopen_last(prompt, DB_OPEN_EXISTING, store));
    EXPECT_FALSE(db_is_open());
}

}  // namespace
