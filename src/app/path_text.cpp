#include "app/path_text.h"

std::string path_join(const std::string& folder, const std::string& name)
{
    if (folder.empty()) {
        return name;
    }
    if (folder.back() == path_separator) {
        return folder + name;
    }
    return folder + path_separator + name;
}

bool path_fits_system(const std::string& path)
{
    return !path.empty() && path.size() <= max_system_path_length;
}

std::string path_without_trailing_separator(const std::string& folder)
{
    std::string result = folder;
    while (result.size() > 1 && result.back() == path_separator &&
           result[result.size() - 2] != ':') {
        result.pop_back();
    }
    return result;
}

std::vector<std::string> path_parent_folders(const std::string& path)
{
    std::vector<std::string> folders;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '\\' || path[i] == '/') {
            const std::string prefix = path.substr(0, i);
            if (prefix.back() != ':' && prefix.back() != '\\' && prefix.back() != '/') {
                folders.push_back(prefix);
            }
        }
    }
    return folders;
}
