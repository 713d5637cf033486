// Opening and creating test database files: the exact schema a new file gets,
// which files are accepted, and what each open mode may create. Files are
// inspected through a second, independent SQLite connection.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_path.h"
#include "db/db_read.h"
#include "db/db_reopen.h"
#include "db/db_schema.h"
#include "db/db_write.h"
#include "support/file_bytes.h"
#include "support/recording_prompt.h"
#include "support/sqlite_file.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;

void run_sql(const std::string& path, const std::string& sql)
{
    sqlite3* connection = nullptr;
    ASSERT_EQ(sqlite3_open_v2(path.c_str(), &connection, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(connection, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sql;
    sqlite3_close(connection);
}

class DatabaseFiles : public ::testing::Test {
protected:
    void SetUp() override { db_use_prompt(&prompt); }
    void TearDown() override
    {
        db_close();
        db_use_prompt(nullptr);
    }
    temp_folder folder;
    std::string path = folder.file("tests.db");
    recording_prompt prompt;
};

TEST_F(DatabaseFiles, ANewFileHoldsExactlyTheThreeTablesAndFiveIndexes)
{
    bool created = false;
    ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    EXPECT_TRUE(created);
    EXPECT_TRUE(db_is_open());
    EXPECT_EQ(db_open_path(), path);
    db_close();

    const std::vector<std::string> expected = {
        "table|Session|Session|CREATE TABLE Session ( SessionNo INTEGER PRIMARY KEY, Name VARCHAR2(50), "
        "Unit VARCHAR2(50), Date DATE, Location VARCHAR2(50), \"Performed By\" VARCHAR2(70), "
        "Comments VARCHAR2(150))",
        "index|Session_ID|Session|CREATE UNIQUE INDEX Session_ID ON Session (SessionNo)",
        "table|Test|Test|CREATE TABLE Test ( TestNo INTEGER PRIMARY KEY, SessionNo INTEGER DEFAULT 0, "
        "Name VARCHAR2(50),Winding VARCHAR2(50), TestDescription VARCHAR2(100))",
        "index|Test_ID|Test|CREATE INDEX Test_ID ON Test (SessionNo)",
        "index|TEST_INFO_ID|Test|CREATE INDEX TEST_INFO_ID ON Test (SessionNo)",
        "table|Data|Data|CREATE TABLE Data ( TestNo INTEGER NOT NULL DEFAULT 0, Frequency INTEGER DEFAULT 0, "
        "Amplitude INTEGER DEFAULT 0, Graphed BOOLEAN, Range INTEGER DEFAULT 0, DataNo INTEGER PRIMARY KEY, "
        "Phase INTEGER DEFAULT 0)",
        "index|Data_ID|Data|CREATE INDEX Data_ID ON Data (TestNo)",
        "index|Data_Info_ID|Data|CREATE INDEX Data_Info_ID ON Data (TestNo)",
    };
    EXPECT_EQ(sqlite_file_rows(path, "SELECT type, name, tbl_name, sql FROM sqlite_master ORDER BY rowid"), expected);
    EXPECT_TRUE(prompt.messages.empty());
}

TEST_F(DatabaseFiles, OnlyCreateModeWithTheCreatedFlagMakesAFile)
{
    struct s_case {
        int mode;
        bool pass_flag;
        bool opens;
    };
    const s_case cases[] = {
        {DB_OPEN_CREATE, true, true},
        {DB_OPEN_CREATE, false, false},
        {DB_OPEN_EXISTING, true, false},
        {DB_OPEN_EXISTING, false, false},
        {2, true, false},
    };
    int number = 0;
    for (const s_case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << (c.pass_flag ? " with" : " without") << " flag");
        const std::string file = folder.file("new" + std::to_string(number++) + ".db");
        prompt.messages.clear();
        bool created = false;
        EXPECT_EQ(db_open(file, c.mode, c.pass_flag ? &created : nullptr), c.opens);
        EXPECT_EQ(db_is_open(), c.opens);
        EXPECT_EQ(fs::exists(file), c.opens);
        EXPECT_EQ(created, c.opens);
        db_close();
        if (!c.opens && (c.mode == DB_OPEN_CREATE || c.mode == DB_OPEN_EXISTING)) {
            // The failed open is the database's own error: code 14.
            ASSERT_EQ(prompt.messages.size(), 1u);
            EXPECT_EQ(prompt.messages[0].text, "Unable to open Database file\nError Code: 14");
            EXPECT_EQ(prompt.messages[0].caption, "Database Error");
            EXPECT_EQ(prompt.messages[0].icon, prompt_icon::warning);
        } else {
            EXPECT_TRUE(prompt.messages.empty());
        }
    }
}

TEST_F(DatabaseFiles, AnotherModeOnlyClosesTheOpenDatabase)
{
    bool created = false;
    ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    EXPECT_FALSE(db_open(path, 0, nullptr));
    EXPECT_FALSE(db_is_open());
    EXPECT_EQ(db_open_path(), "");
}

TEST_F(DatabaseFiles, AnExistingDatabaseOpensInEitherModeWithItsRowsAndIsNotRecreated)
{
    bool created = false;
    ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "kept");
    ASSERT_EQ(db_save_session(session, false), SQLITE_OK);
    for (const int mode : {DB_OPEN_CREATE, DB_OPEN_EXISTING}) {
        created = true;
        ASSERT_TRUE(db_open(path, mode, &created)) << mode;
        EXPECT_FALSE(created);
        EXPECT_EQ(db_find_session_by_name("kept"), session.session_number);
    }
}

TEST_F(DatabaseFiles, FilesThatAreNoTestDatabaseAreRefusedSilentlyAndLeftAsTheyWere)
{
    struct s_case {
        const char* what;
        const char* sql;    // run on a fresh SQLite file, or nullptr
        std::string bytes;  // written as the file when sql is nullptr
    };
    const s_case cases[] = {
        {"text file", nullptr, "Frequency (Hz),Gain (dB),Phase\r\n100,-3.1,45\r\n"},
        {"empty file", nullptr, ""},
        {"Session table only", "CREATE TABLE Session (SessionNo INTEGER PRIMARY KEY, Name)", ""},
        {"no Data table",
         "CREATE TABLE Session (SessionNo INTEGER PRIMARY KEY, Name);"
         "CREATE TABLE Test (TestNo INTEGER PRIMARY KEY, SessionNo)",
         ""},
    };
    int number = 0;
    for (const s_case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string file = folder.file("other" + std::to_string(number++) + ".db");
        if (c.sql != nullptr) {
            run_sql(file, c.sql);
        } else {
            std::ofstream(file, std::ios::binary) << c.bytes;
        }
        const std::string before = read_bytes(file);
        for (const int mode : {DB_OPEN_CREATE, DB_OPEN_EXISTING}) {
            bool created = false;
            EXPECT_FALSE(db_open(file, mode, &created));
            EXPECT_FALSE(created);
            EXPECT_FALSE(db_is_open());
            EXPECT_EQ(db_exec("SELECT 1"), db_not_open);
        }
        EXPECT_EQ(read_bytes(file), before);
    }
    EXPECT_TRUE(prompt.messages.empty());
}

// The program reads rows by column position and inserts them without naming
// columns, so a file whose tables have the right names but other columns
// would be misread and written wrongly: it is refused before anything is
// read or changed. Each case alters the real schema by one replacement.
TEST_F(DatabaseFiles, TablesWithTheRightNamesButOtherColumnsAreRefused)
{
    std::string schema;
    for (const db_table table : {db_table::session, db_table::test, db_table::data}) {
        for (const std::string& statement : db_schema_statements(table)) {
            schema += statement + ";";
        }
    }
    const struct {
        const char* what;
        const char* find;  // "" leaves the schema as it is
        const char* replace;
        bool opens;
    } cases[] = {
        {"the program's own schema", "", "", true},
        {"names in another letter case", "Name VARCHAR2(50), Unit", "NAME VARCHAR2(50), Unit", true},
        {"a Session column renamed", "Name VARCHAR2(50), Unit", "Title VARCHAR2(50), Unit", false},
        {"two columns swapped", "Name VARCHAR2(50), Unit VARCHAR2(50)", "Unit VARCHAR2(50), Name VARCHAR2(50)",
         false},
        {"Data without Phase", ", Phase INTEGER DEFAULT 0)", ")", false},
        {"Test with one column more", "TestDescription VARCHAR2(100))", "TestDescription VARCHAR2(100), Extra)",
         false},
        {"SessionNo not the row number", "SessionNo INTEGER PRIMARY KEY, Name", "SessionNo INTEGER, Name", false},
        {"DataNo a text key", "DataNo INTEGER PRIMARY KEY", "DataNo TEXT PRIMARY KEY", false},
    };
    int number = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string sql = schema;
        if (c.find[0] != '\0') {
            const std::size_t at = sql.find(c.find);
            ASSERT_NE(at, std::string::npos);
            sql.replace(at, std::string(c.find).size(), c.replace);
        }
        const std::string file = folder.file("foreign" + std::to_string(number++) + ".db");
        run_sql(file, sql);
        const std::string before = read_bytes(file);
        for (const int mode : {DB_OPEN_CREATE, DB_OPEN_EXISTING}) {
            bool created = true;
            EXPECT_EQ(db_open(file, mode, &created), c.opens);
            EXPECT_FALSE(created);
            EXPECT_EQ(db_last_open().outcome, c.opens ? db_open_outcome::opened : db_open_outcome::not_a_database);
            if (!c.opens) {
                EXPECT_EQ(db_open_failure_message(file), file + " is not a Corvexa2 database file");
            }
            db_close();
        }
        EXPECT_EQ(read_bytes(file), before);
    }
    EXPECT_TRUE(prompt.messages.empty());
}

// A test database another program holds locked is still a test database:
// the open fails with SQLite's own words for the lock, never calls it
// foreign, changes nothing, and succeeds once the lock is gone.
TEST_F(DatabaseFiles, ALockedDatabaseIsToldAsLockedNotForeign)
{
    bool created = false;
    ASSERT_TRUE(db_open(path, DB_OPEN_CREATE, &created));
    db_close();
    const std::string before = read_bytes(path);
    {
        const sqlite_file_lock other(path, "BEGIN EXCLUSIVE");
        ASSERT_TRUE(other.held());
        for (const int mode : {DB_OPEN_CREATE, DB_OPEN_EXISTING}) {
            SCOPED_TRACE(mode);
            created = true;
            EXPECT_FALSE(db_open(path, mode, &created));
            EXPECT_FALSE(created);
            EXPECT_FALSE(db_is_open());
            const s_db_open_result result = db_last_open();
            EXPECT_EQ(result.outcome, db_open_outcome::unreadable);
            EXPECT_EQ(result.code, SQLITE_BUSY);
            EXPECT_EQ(result.cause, "database is locked");
            EXPECT_EQ(db_open_failure_message(path), "Unable to open the database file <" + path +
                                                         ">: database is locked");
        }
    }
    EXPECT_TRUE(prompt.messages.empty());
    EXPECT_EQ(read_bytes(path), before);
    EXPECT_TRUE(db_open(path, DB_OPEN_EXISTING));
}

TEST_F(DatabaseFiles, AFolderAtThePathIsNoDatabase)
{
    fs::create_directory(path);
    bool created = false;
    EXPECT_FALSE(db_open(path, DB_OPEN_CREATE, &created));
    EXPECT_FALSE(created);
    EXPECT_FALSE(db_file_exists(path));
    EXPECT_TRUE(db_path_exists(path));
}

TEST(DatabasePathText, Windows1252BytesBecomeUtf8)
{
    const struct {
        std::string cp1252;
        std::string utf8;
    } cases[] = {
        {"C:\\Data\\tests.db", "C:\\Data\\tests.db"},
        {"Mesures \xE9t\xE9", "Mesures \xC3\xA9t\xC3\xA9"},
        {"\x80 \x9F \xA0 \xFF", "\xE2\x82\xAC \xC5\xB8 \xC2\xA0 \xC3\xBF"},
        {"\x81\x8D\x8F\x90\x9D", "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D"},
        {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cp1252_to_utf8(c.cp1252), c.utf8) << c.cp1252;
    }
}

TEST_F(DatabaseFiles, AFolderNameWithAccentedLettersWorks)
{
    // The program names the folder in Windows-1252; on disk it has its UTF-8 name.
    const std::string folder_name = "Mesures \xE9t\xE9 \x80";
    const fs::path on_disk = fs::path(folder.path()) / fs::path(u8"Mesures \u00e9t\u00e9 \u20ac");
    fs::create_directory(on_disk);
    const std::string file = folder.path() + std::string(1, fs::path::preferred_separator) + folder_name +
                             std::string(1, fs::path::preferred_separator) + "r\xE9sultats.db";
    bool created = false;
    ASSERT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
    EXPECT_TRUE(created);
    db_close();
    EXPECT_TRUE(fs::is_regular_file(on_disk / fs::path(u8"r\u00e9sultats.db")));
    EXPECT_TRUE(db_file_exists(file));
    created = true;
    EXPECT_TRUE(db_open(file, DB_OPEN_EXISTING, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(db_open_path(), file);
    db_close();
    EXPECT_TRUE(db_remove_file(file));
    EXPECT_FALSE(db_file_exists(file));
}

}  // namespace
