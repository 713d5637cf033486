// Building paths, and where the settings environment finds its folders.
#include <gtest/gtest.h>

#include <string>

#include "app/path_text.h"
#include "app/settings_environment.h"
#include "support/scoped_environment.h"

namespace {

// "|" in these cases stands for the platform's separator.
std::string native(std::string text)
{
    for (char& c : text) {
        if (c == '|') {
            c = path_separator;
        }
    }
    return text;
}

TEST(PathText, JoinsWithExactlyOneSeparator)
{
    const struct {
        const char* folder;
        const char* name;
        const char* expected;
    } cases[] = {
        {"|a|b", "c.ini", "|a|b|c.ini"},
        {"|a|b|", "c.ini", "|a|b|c.ini"},
        {"C:|", "x", "C:|x"},
        {"", "c.ini", "c.ini"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(path_join(native(c.folder), c.name), native(c.expected)) << c.folder;
    }
}

TEST(PathText, DropsTrailingSeparatorsButKeepsRoots)
{
    const struct {
        const char* folder;
        const char* expected;
    } cases[] = {
        {"|a|b|", "|a|b"}, {"|a|b||", "|a|b"}, {"|a|b", "|a|b"}, {"|", "|"}, {"C:|", "C:|"}, {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(path_without_trailing_separator(native(c.folder)), native(c.expected)) << c.folder;
    }
}

#ifndef _WIN32
TEST(PosixSettingsEnvironment, FindsFoldersInTheEnvironment)
{
    const struct {
        const char* local_app_data;
        const char* xdg_data_home;
        const char* home;
        const char* tmpdir;
        const char* app_data_expected;
        const char* documents_expected;
        const char* temporary_expected;
    } cases[] = {
        {"/l/", "/x", "/h", "/t/", "/l", "/h", "/t"},
        {"", "/x/", "/h/", nullptr, "/x", "/h", "/tmp"},
        {nullptr, nullptr, "/h", "", "/h/.local/share", "/h", "/tmp"},
        {nullptr, nullptr, nullptr, nullptr, "", "", "/tmp"},
    };
    settings_environment& environment = platform_settings_environment();
    for (const auto& c : cases) {
        const scoped_variable local("LOCALAPPDATA", c.local_app_data);
        const scoped_variable xdg("XDG_DATA_HOME", c.xdg_data_home);
        const scoped_variable home("HOME", c.home);
        const scoped_variable tmpdir("TMPDIR", c.tmpdir);
        EXPECT_EQ(environment.local_app_data_folder(), c.app_data_expected);
        EXPECT_EQ(environment.documents_folder(), c.documents_expected);
        EXPECT_EQ(environment.temporary_folder(), c.temporary_expected);
    }
}
#endif

}  // namespace
