// The Win32 profile_store: the system's private-profile functions, with the
// path limit and the writable-text check applied first (profile_store.h).
#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/path_text.h"
#include "app/profile_rules.h"
#include "app/profile_store.h"

namespace {

class win32_store final : public profile_store {
public:
    std::string read_string(const std::string& file, const char* section, const char* key,
                            const char* fallback, std::size_t max_length) override
    {
        if (!path_fits_system(file) || section == nullptr || key == nullptr) {
            return profile_cut(fallback != nullptr ? fallback : "", max_length);
        }
        std::vector<char> buffer(std::min(max_length, profile_max_value_length) + 1, '\0');
        GetPrivateProfileStringA(section, key, fallback != nullptr ? fallback : "", buffer.data(),
                                 static_cast<DWORD>(buffer.size()), file.c_str());
        buffer.back() = '\0';
        return std::string(buffer.data());
    }

    int read_int(const std::string& file, const char* section, const char* key, int fallback) override
    {
        if (!path_fits_system(file) || section == nullptr || key == nullptr) {
            return fallback;
        }
        return static_cast<int>(GetPrivateProfileIntA(section, key, fallback, file.c_str()));
    }

    bool write_string(const std::string& file, const char* section, const char* key,
                      const char* value) override
    {
        if (!path_fits_system(file) || !profile_text_writable(section, key, value)) {
            return false;
        }
        return WritePrivateProfileStringA(section, key, value, file.c_str()) != FALSE;
    }
};

}  // namespace

profile_store& win32_profile_store()
{
    static win32_store store;
    return store;
}

profile_store& platform_profile_store()
{
    return win32_profile_store();
}
