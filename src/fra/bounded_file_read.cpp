#include "fra/bounded_file_read.h"

#include <cstdio>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "app/text_encoding.h"
#include "app/text_file.h"

namespace {

struct file_closer {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// A failed open or read is told apart as a folder only afterwards: a folder
// opens on some systems and fails only when read, on others it fails to open.
file_read_status folder_or(file_read_status status, const std::string& path)
{
    return path_is_folder(path) ? file_read_status::is_folder : status;
}

}  // namespace

file_read_status read_file_bounded(const std::string& path, std::size_t max_bytes, std::string& bytes)
{
    const std::unique_ptr<std::FILE, file_closer> file(open_program_file(path, "rb"));
    if (!file) {
        return folder_or(file_read_status::cannot_open, path);
    }
    std::string read;
    char chunk[4096];
    while (read.size() <= max_bytes) {
        // One byte beyond the bound is enough to know the file is too large.
        const std::size_t room = max_bytes - read.size();
        const std::size_t wanted = room < sizeof chunk ? room + 1 : sizeof chunk;
        const std::size_t count = std::fread(chunk, 1, wanted, file.get());
        read.append(chunk, count);
        if (count < wanted) {
            break;
        }
    }
    if (std::ferror(file.get()) != 0) {
        return folder_or(file_read_status::read_failed, path);
    }
    if (read.size() > max_bytes) {
        return file_read_status::too_large;
    }
    bytes = std::move(read);
    return file_read_status::read;
}

bool path_is_folder(const std::string& path)
{
    // The file system library takes the name as UTF-8 on every platform.
    const std::string utf8 = cp1252_to_utf8(path);
    std::error_code error;
    return !path.empty() && std::filesystem::is_directory(std::u8string(utf8.begin(), utf8.end()), error);
}
