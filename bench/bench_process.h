// The benchmarks' way to another program of the same build folder (the
// command-line tool), run as a child process (support/child_process.h): what a
// benchmark times as "from start to exit".
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <string>
#include <vector>

#include "support/child_process.h"

namespace bench {

// The file named `name` (".exe" added on Windows) in the folder of this
// program.
inline std::string sibling_program(const char* name)
{
    char self[4096] = {};
#ifdef _WIN32
    const DWORD length = GetModuleFileNameA(nullptr, self, sizeof self - 1);
    const char separator = '\\';
    const std::string suffix = ".exe";
#else
    const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
    const char separator = '/';
    const std::string suffix;
#endif
    const std::string path(self, length > 0 ? static_cast<std::size_t>(length) : 0);
    const std::size_t slash = path.rfind(separator);
    const std::string folder = slash == std::string::npos ? std::string(".") : path.substr(0, slash);
    return folder + separator + name + suffix;
}

}  // namespace bench
