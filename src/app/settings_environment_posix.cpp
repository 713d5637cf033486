// The settings environment on POSIX systems: folders from the XDG-style
// environment variables, the file system through the POSIX calls. Paths from
// the system are UTF-8 and the program's are Windows-1252: both ways are
// converted here.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/path_text.h"
#include "app/settings_environment.h"
#include "app/text_encoding.h"

namespace {

std::string environment_text(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? program_text_from_system(value) : std::string();
}

std::string home_folder()
{
    return path_without_trailing_separator(environment_text("HOME"));
}

class posix_environment final : public settings_environment {
public:
    std::string local_app_data_folder() override
    {
        for (const char* name : {"LOCALAPPDATA", "XDG_DATA_HOME"}) {
            const std::string folder = environment_text(name);
            if (!folder.empty()) {
                return path_without_trailing_separator(folder);
            }
        }
        const std::string home = home_folder();
        return home.empty() ? std::string() : path_join(path_join(home, ".local"), "share");
    }

    std::string documents_folder() override { return home_folder(); }

    std::string temporary_folder() override
    {
        const std::string folder = environment_text("TMPDIR");
        return folder.empty() ? std::string("/tmp") : path_without_trailing_separator(folder);
    }

    std::string current_directory() override
    {
        std::vector<char> buffer(256);
        while (getcwd(buffer.data(), buffer.size()) == nullptr) {
            if (errno != ERANGE || buffer.size() >= 65536) {
                return {};
            }
            buffer.resize(buffer.size() * 2);
        }
        return program_text_from_system(buffer.data());
    }

    void make_directory(const std::string& path) override
    {
        ::mkdir(system_path(path).c_str(), 0777);
    }

    bool file_exists(const std::string& path) override
    {
        struct stat info {};
        return ::stat(system_path(path).c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
    }

    s_utc_time utc_now() override { return system_utc_now(); }
};

}  // namespace

settings_environment& platform_settings_environment()
{
    static posix_environment environment;
    return environment;
}
