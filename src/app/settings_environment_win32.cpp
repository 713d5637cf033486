// The settings environment on Windows. The shell's folder function comes from
// SHFOLDER.DLL, loaded for the call and freed after it, so the program also
// starts where the library or the function is missing (the folder is then
// reported unknown and the caller falls back).
#include <windows.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/path_text.h"
#include "app/settings_environment.h"

namespace {

using shell_folder_function = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

std::string shell_folder(int csidl)
{
    HMODULE library = LoadLibraryA("SHFOLDER.DLL");
    if (library == nullptr) {
        return {};
    }
    // Through a plain function pointer type, which any function pointer may be cast to.
    const auto function = reinterpret_cast<shell_folder_function>(
        reinterpret_cast<void (*)()>(GetProcAddress(library, "SHGetFolderPathA")));
    std::string folder;
    if (function != nullptr) {
        char buffer[MAX_PATH + 1] = {};
        if (SUCCEEDED(function(nullptr, csidl, nullptr, SHGFP_TYPE_DEFAULT, buffer))) {
            buffer[MAX_PATH] = '\0';
            folder = path_without_trailing_separator(buffer);
        }
    }
    FreeLibrary(library);
    return folder;
}

// Calls one of the system's "fill this buffer, or tell me the size" functions.
template <typename Function>
std::string sized_text(Function function)
{
    std::vector<char> buffer(MAX_PATH + 1, '\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const DWORD length = function(static_cast<DWORD>(buffer.size()), buffer.data());
        if (length == 0) {
            return {};
        }
        if (length < buffer.size()) {
            return std::string(buffer.data(), length);
        }
        buffer.assign(static_cast<std::size_t>(length) + 1, '\0');
    }
    return {};
}

class win32_environment final : public settings_environment {
public:
    std::string local_app_data_folder() override { return shell_folder(CSIDL_LOCAL_APPDATA); }

    std::string documents_folder() override { return shell_folder(CSIDL_PERSONAL); }

    std::string temporary_folder() override
    {
        return path_without_trailing_separator(
            sized_text([](DWORD size, char* buffer) { return GetTempPathA(size, buffer); }));
    }

    std::string current_directory() override
    {
        return sized_text([](DWORD size, char* buffer) { return GetCurrentDirectoryA(size, buffer); });
    }

    void make_directory(const std::string& path) override
    {
        if (path_fits_system(path)) {
            CreateDirectoryA(path.c_str(), nullptr);
        }
    }

    bool file_exists(const std::string& path) override
    {
        if (!path_fits_system(path)) {
            return false;
        }
        const DWORD attributes = GetFileAttributesA(path.c_str());
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
    }

    s_utc_time utc_now() override { return system_utc_now(); }
};

}  // namespace

settings_environment& platform_settings_environment()
{
    static win32_environment environment;
    return environment;
}
