#include "support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

temp_folder::temp_folder()
{
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path p = fs::temp_directory_path() /
                 ("corvexa2-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    fs::create_directories(p);
    path_ = p.string();
}

temp_folder::~temp_folder()
{
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string temp_folder::file(const std::string& name) const
{
    return (fs::path(path_) / name).string();
}
