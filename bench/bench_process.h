// Runs another program of the same build folder (the command-line tool) as
// a child process, its input and both outputs on the null device, and
// waits for it to end: what a benchmark times as "from start to exit".
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include <string>
#include <vector>

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

#ifdef _WIN32
// One word of a command line as the C runtime splits it again.
inline std::string quoted(const std::string& word)
{
    std::string out = "\"";
    for (const char c : word) {
        out += c == '"' ? "\\\"" : std::string(1, c);
    }
    return out + "\"";
}

// The program with its words; its exit code, -1 when it did not start.
inline int run_program(const std::string& program, const std::vector<std::string>& words)
{
    std::string line = quoted(program);
    for (const std::string& word : words) {
        line += " " + quoted(word);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       &inherit, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = nothing;
    startup.hStdError = nothing;
    PROCESS_INFORMATION info{};
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    const BOOL started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &info);
    if (nothing != INVALID_HANDLE_VALUE) {
        CloseHandle(nothing);
    }
    if (!started) {
        return -1;
    }
    WaitForSingleObject(info.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}
#else
inline int run_program(const std::string& program, const std::vector<std::string>& words)
{
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : words) {
        argv.push_back(const_cast<char*>(word.c_str()));
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed != 0) {
        return -1;
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            return -1;
        }
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace bench
