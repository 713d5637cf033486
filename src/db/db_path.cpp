#include "db/db_path.h"

#include "app/text_encoding.h"

#include <filesystem>
#include <system_error>

namespace {

// The path as the file system library takes it: from UTF-8 on every platform.
std::filesystem::path file_system_path(const std::string& path)
{
    const std::string utf8 = cp1252_to_utf8(path);
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

}  // namespace

bool db_path_exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::exists(file_system_path(path), error);
}

bool db_file_exists(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::is_regular_file(file_system_path(path), error);
}

bool db_remove_file(const std::string& path)
{
    std::error_code error;
    return !path.empty() && std::filesystem::remove(file_system_path(path), error);
}
