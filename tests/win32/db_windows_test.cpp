// The test database on Windows: the SQLite built into the program, and a
// database in a folder whose name holds accented letters, named the way the
// program names paths (8-bit Windows-1252 text, as the "A" functions take it).
#include <gtest/gtest.h>

#include <windows.h>

#include <sqlite3.h>

#include <string>

#include "db/db_connection.h"
#include "db/db_path.h"
#include "db/db_read.h"
#include "db/db_write.h"
#include "support/temp_folder.h"

namespace {

TEST(DatabaseOnWindows, TheBuiltInSQLiteIsSerialized)
{
    EXPECT_EQ(sqlite3_threadsafe(), 1);
    EXPECT_GE(sqlite3_libversion_number(), 3052000);
}

TEST(DatabaseOnWindows, AFolderWithAccentedLettersHoldsTheDatabase)
{
    if (GetACP() != 1252) {
        GTEST_SKIP() << "the system code page is " << GetACP() << ", not Windows-1252";
    }
    temp_folder scratch;
    const std::string folder = scratch.path() + "\\Mesures \xE9t\xE9 \x80";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string file = folder + "\\r\xE9sultats.db";

    bool created = false;
    ASSERT_TRUE(db_open(file, DB_OPEN_CREATE, &created));
    EXPECT_TRUE(created);
    s_db_session session;
    std::snprintf(session.name, sizeof session.name, "Caf\xE9");
    ASSERT_EQ(db_save_session(session, false), 0);
    db_close();

    // The system's own 8-bit functions find the file under the same name.
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA(file.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_STREQ(found.cFileName, "r\xE9sultats.db");
    EXPECT_TRUE(db_file_exists(file));

    ASSERT_TRUE(db_open(file, DB_OPEN_EXISTING));
    EXPECT_EQ(db_find_session_by_name("CAF\xE9"), session.session_number);
    db_close();
    EXPECT_TRUE(db_remove_file(file));
    EXPECT_EQ(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES);
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
