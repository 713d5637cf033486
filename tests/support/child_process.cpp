#include "child_process.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

#ifdef _WIN32
// One word of a command line as the C runtime splits it again.
std::string quoted(const std::string& word)
{
    std::string out = "\"";
    for (const char c : word) {
        out += c == '"' ? "\\\"" : std::string(1, c);
    }
    return out + "\"";
}

HANDLE inheritable_output(const char* path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileA(path != nullptr ? path : "NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       path != nullptr ? CREATE_ALWAYS : OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}
#endif

}  // namespace

#ifdef _WIN32
int run_child_process(const std::string& program, const std::vector<std::string>& words, const char* out_path,
                      const char* err_path)
{
    std::string line = quoted(program);
    for (const std::string& word : words) {
        line += " " + quoted(word);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE nothing = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE out = inheritable_output(out_path);
    const HANDLE err = inheritable_output(err_path);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nothing;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    std::vector<char> writable(line.begin(), line.end());
    writable.push_back('\0');
    const BOOL started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &info);
    for (const HANDLE handle : {nothing, out, err}) {
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
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
int run_child_process(const std::string& program, const std::vector<std::string>& words, const char* out_path,
                      const char* err_path)
{
    std::vector<std::string> texts = {program};
    texts.insert(texts.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    constexpr int written = O_WRONLY | O_CREAT | O_TRUNC;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path != nullptr ? out_path : "/dev/null", written, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path != nullptr ? err_path : "/dev/null", written, 0644);
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
