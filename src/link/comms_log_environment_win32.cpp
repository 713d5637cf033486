// The comms log's clock and file system on Windows (8-bit paths).
#include <windows.h>

#include <cstdio>

#include "app/text_file.h"
#include "link/comms_log.h"

namespace {

class win32_log_environment final : public comms_log_environment {
public:
    log_clock_time local_time() override
    {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return {now.wHour, now.wMinute, now.wSecond, now.wMilliseconds};
    }

    bool file_exists(const std::string& path) override
    {
        return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    bool make_directory(const std::string& path) override { return CreateDirectoryA(path.c_str(), nullptr) != 0; }

    bool append_text(const std::string& path, const std::string& text) override
    {
        return append_text_file(path, text);
    }

    bool remove_file(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
};

}  // namespace

comms_log_environment& platform_comms_log_environment()
{
    static win32_log_environment environment;
    return environment;
}
