#include "whole_file.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/text_encoding.h"
#include "app/text_file.h"

namespace {

bool rename_over(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(system_path(from).c_str(), system_path(to).c_str()) == 0;
#endif
}

}  // namespace

bool write_file_whole(const std::string& path, const std::function<bool(const std::string& temporary)>& write)
{
    const std::string temporary = path + ".part";
    if (write(temporary) && rename_over(temporary, path)) {
        return true;
    }
    std::remove(system_path(temporary).c_str());
    return false;
}

bool write_bytes_file(const std::string& path, const std::string& bytes)
{
    std::FILE* file = open_program_file(path, "wb");
    if (file == nullptr) {
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    return written && closed;
}
