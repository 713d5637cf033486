// settings_load through the real system: the shell's local application-data
// folder (SHGetFolderPathA), the system's profile functions and clock. Any
// settings the prefix already holds are moved aside and put back afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <string>

#include "app/settings.h"
#include "support/file_bytes.h"

// ctest runs every test in a process of its own, possibly side by side; the
// tests that create the prefix's settings folder take turns through a named
// mutex (held until the returned handle is dropped, on the same thread).
std::shared_ptr<void> settings_folder_turn()
{
    const HANDLE mutex = CreateMutexA(nullptr, FALSE, "Corvexa2TestsSettingsFolder");
    if (mutex == nullptr) {
        return {};
    }
    WaitForSingleObject(mutex, INFINITE);
    return std::shared_ptr<void>(mutex, [](HANDLE held) {
        ReleaseMutex(held);
        CloseHandle(held);
    });
}

namespace {

std::string shell_folder(int csidl)
{
    char path[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_DEFAULT, path))) {
        return {};
    }
    return path;
}

bool is_folder(const std::string& path)
{
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void remove_tree(const std::string& folder)
{
    WIN32_FIND_DATAA entry;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + "\\" + name;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                remove_tree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// Moves an existing vendor folder out of the way for the test's lifetime.
class vendor_folder_aside {
public:
    explicit vendor_folder_aside(std::string folder)
        : folder_(std::move(folder)), saved_(folder_ + ".saved-" + std::to_string(GetCurrentProcessId()))
    {
        moved_ = is_folder(folder_) && MoveFileA(folder_.c_str(), saved_.c_str());
    }
    ~vendor_folder_aside()
    {
        remove_tree(folder_);
        if (moved_) {
            MoveFileA(saved_.c_str(), folder_.c_str());
        }
    }
    vendor_folder_aside(const vendor_folder_aside&) = delete;
    vendor_folder_aside& operator=(const vendor_folder_aside&) = delete;

private:
    std::string folder_;
    std::string saved_;
    bool moved_ = false;
};

// The "Created" stamp as a moment, for comparing with the system's UTC clock.
bool stamp_time(const std::string& stamp, ULONGLONG* ticks)
{
    SYSTEMTIME t = {};
    int hour, minute, second, day, month, year;
    if (std::sscanf(stamp.c_str(), "%d:%d:%d %d/%d/%d", &hour, &minute, &second, &day, &month, &year) != 6) {
        return false;
    }
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wHour = static_cast<WORD>(hour);
    t.wMinute = static_cast<WORD>(minute);
    t.wSecond = static_cast<WORD>(second);
    FILETIME file_time;
    if (!SystemTimeToFileTime(&t, &file_time)) {
        return false;
    }
    *ticks = (static_cast<ULONGLONG>(file_time.dwHighDateTime) << 32) | file_time.dwLowDateTime;
    return true;
}

ULONGLONG utc_now_ticks()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

TEST(SettingsShellFolder, FirstRunCreatesTheFolderAndFileUnderLocalAppData)
{
    const std::string app_data = shell_folder(CSIDL_LOCAL_APPDATA);
    ASSERT_FALSE(app_data.empty());
    const std::string vendor = app_data + "\\Zelvorian";
    const auto turn = settings_folder_turn();
    const vendor_folder_aside aside(vendor);
    ASSERT_FALSE(is_folder(vendor));

    settings_load();

    const std::string folder = vendor + "\\Corvexa";
    EXPECT_EQ(settings_folder(), folder);
    EXPECT_TRUE(is_folder(folder));
    EXPECT_EQ(settings_file(), folder + "\\Corvexa.ini");
    EXPECT_EQ(graph_settings_file(2), folder + "\\lcr_eis_settings.ini");

    const std::string contents = read_bytes(settings_file());
    std::smatch match;
    ASSERT_TRUE(std::regex_match(contents, match,
                                 std::regex("\\[Init\\]\r\nCreated=(\\d\\d:\\d\\d:\\d\\d \\d{1,2}/\\d{1,2}/\\d{4})\r\n")))
        << contents;
    // Written in UTC: within an hour of the system's UTC clock (any other time
    // zone in use would be an hour or more away; a slow machine is not).
    ULONGLONG created = 0;
    ASSERT_TRUE(stamp_time(match[1], &created));
    const ULONGLONG now = utc_now_ticks();
    const ULONGLONG hour = 3600ULL * 10000000ULL;
    EXPECT_LT(now > created ? now - created : created - now, hour);

    // A later run leaves the file as it was.
    settings_load();
    EXPECT_EQ(read_bytes(settings_file()), contents);
}

TEST(SettingsShellFolder, DocumentsAndTemporaryFoldersComeFromTheSystem)
{
    EXPECT_EQ(user_documents_folder(), shell_folder(CSIDL_PERSONAL));
    char temporary[MAX_PATH + 1] = {};
    const DWORD length = GetTempPathA(sizeof temporary, temporary);
    ASSERT_GT(length, 1u);
    EXPECT_EQ(temporary_folder() + "\\", std::string(temporary, length));
}

}  // namespace
