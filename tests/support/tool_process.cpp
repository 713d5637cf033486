#include "support/tool_process.h"

#include <fstream>
#include <iterator>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
extern char** environ;
#endif

namespace {

std::string captured(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::erase(text, '\r');
    return text;
}

#ifdef _WIN32
std::string quote_argument(const std::string& argument)
{
    std::string out = "\"";
    for (const char c : argument) {
        if (c == '"') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

int run_process(const std::vector<std::string>& words, const std::string& out_path, const std::string& err_path)
{
    std::string tool = CORVEXA2_CLI_PATH;
    if (!tool.empty() && tool[0] == '/') {
        tool = "Z:" + tool;
    }
    for (char& c : tool) {
        c = c == '/' ? '\\' : c;
    }
    std::string line = quote_argument(tool);
    for (const std::string& word : words) {
        line += " " + quote_argument(word);
    }
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const HANDLE out = CreateFileA(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE err = CreateFileA(err_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out;
    startup.hStdError = err;
    PROCESS_INFORMATION info{};
    std::vector<char> mutable_line(line.begin(), line.end());
    mutable_line.push_back('\0');
    const BOOL started = CreateProcessA(nullptr, mutable_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(out);
    CloseHandle(err);
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
int run_process(const std::vector<std::string>& words, const std::string& out_path, const std::string& err_path)
{
    std::vector<std::string> texts = {CORVEXA2_CLI_PATH};
    texts.insert(texts.end(), words.begin(), words.end());
    std::vector<char*> argv;
    for (std::string& text : texts) {
        argv.push_back(text.data());
    }
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
#endif

}  // namespace

s_tool_run tool_runner::run(const std::vector<std::string>& words)
{
    // Files of their own for every run: a finished child may still hold the last ones.
    const std::string number = std::to_string(runs_++);
    const std::string out = scratch_.file("tool-out" + number + ".txt");
    const std::string err = scratch_.file("tool-err" + number + ".txt");
    s_tool_run result;
    result.status = run_process(words, out, err);
    result.out = captured(out);
    result.err = captured(err);
    return result;
}
