// Resolution of COM port names to device paths (see serial_port_names.h).
// The file is portable: the only platform difference is the final rule.
#include "link/serial_port_names.h"

#include <cstdlib>
#include <map>
#include <mutex>
#include <string>

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

// The aliases, keyed by the upper-case COM name. A handful at most: the
// command-line tool registers one per device path it is given.
struct alias_table {
    std::mutex mutex;
    std::map<std::string, std::string> device_by_name;
};

alias_table& aliases()
{
    static alias_table table;
    return table;
}

std::string upper_ascii(const char* text)
{
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool find_alias(const std::string& name, std::string* device)
{
    alias_table& table = aliases();
    std::lock_guard<std::mutex> lock(table.mutex);
    auto it = table.device_by_name.find(name);
    if (it == table.device_by_name.end()) return false;
    *device = it->second;
    return true;
}

#ifdef _WIN32

bool is_device_path(const char* name) { return name[0] == '\\' && name[1] == '\\'; }

std::string platform_device(const std::string& name)
{
    return "\\\\.\\" + name;
}

#else

bool is_device_path(const char* name) { return name[0] == '/'; }

// N of an upper-case "COM<N>" name (N from 1 to 9999), 0 for any other name.
int com_number(const std::string& name)
{
    if (name.size() < 4 || name.size() > 7 || name.compare(0, 3, "COM") != 0) return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') return 0;
        n = n * 10 + (name[i] - '0');
    }
    return n;
}

// The folder named by CORVEXA2_DOSDEVICES, or "" when it is unset or names
// no folder.
std::string dosdevices_folder()
{
    const char* folder = std::getenv("CORVEXA2_DOSDEVICES");
    if (folder == nullptr || folder[0] == '\0') return "";
    struct stat info {};
    if (::stat(folder, &info) != 0 || !S_ISDIR(info.st_mode)) return "";
    return folder;
}

std::string platform_device(const std::string& name)
{
    const int n = com_number(name);
    if (n == 0) return "";
    const std::string folder = dosdevices_folder();
    if (!folder.empty()) return folder + "/com" + std::to_string(n);
    return "/dev/ttyS" + std::to_string(n - 1);
}

#endif

}  // namespace

std::string serial_port_device(const char* com_name)
{
    if (com_name == nullptr || com_name[0] == '\0') return "";
    if (is_device_path(com_name)) return com_name;
    const std::string name = upper_ascii(com_name);
    std::string device;
    if (find_alias(name, &device)) return device;
    return platform_device(name);
}

void serial_port_alias(const char* com_name, const std::string& device_path)
{
    if (com_name == nullptr || com_name[0] == '\0') return;
    const std::string name = upper_ascii(com_name);
    alias_table& table = aliases();
    std::lock_guard<std::mutex> lock(table.mutex);
    if (device_path.empty()) {
        table.device_by_name.erase(name);
    } else {
        table.device_by_name[name] = device_path;
    }
}

std::string serial_port_shown_name(const char* com_name)
{
    if (com_name == nullptr) {
        return "";
    }
    std::string device;
    return find_alias(upper_ascii(com_name), &device) ? device : std::string(com_name);
}
