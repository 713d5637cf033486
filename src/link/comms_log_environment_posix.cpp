// The comms log's clock and file system on Linux.
#include <sys/stat.h>
#include <sys/time.h>

#include <cstdio>
#include <ctime>

#include "app/text_encoding.h"
#include "app/text_file.h"
#include "link/comms_log.h"

namespace {

class posix_log_environment final : public comms_log_environment {
public:
    log_clock_time local_time() override
    {
        timeval now{};
        gettimeofday(&now, nullptr);
        std::tm parts{};
        localtime_r(&now.tv_sec, &parts);
        return {parts.tm_hour, parts.tm_min, parts.tm_sec, static_cast<int>(now.tv_usec / 1000)};
    }

    bool file_exists(const std::string& path) override
    {
        struct stat info{};
        return ::stat(system_path(path).c_str(), &info) == 0;
    }

    bool make_directory(const std::string& path) override { return ::mkdir(system_path(path).c_str(), 0777) == 0; }

    bool append_text(const std::string& path, const std::string& text) override
    {
        return append_text_file(path, text);
    }

    bool remove_file(const std::string& path) override { return std::remove(system_path(path).c_str()) == 0; }
};

}  // namespace

comms_log_environment& platform_comms_log_environment()
{
    static posix_log_environment environment;
    return environment;
}
