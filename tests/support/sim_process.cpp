#include "support/sim_process.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#include <windows.h>
#else
#include <arpa/inet.h>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

#include "support/loopback_address.h"

namespace {

using namespace std::chrono_literals;

constexpr auto ready_deadline = 10s;
constexpr auto stop_deadline = 5s;
constexpr auto poll_interval = 10ms;

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// "hvxsim ready tcp=127.0.0.2:10001 serial=/dev/pts/7": the port and the
// serial device ("-" parts give 0 and "").
void parse_ready_line(const std::string& line, int& port, std::string& serial)
{
    const auto tcp = line.find(" tcp=");
    const auto ser = line.find(" serial=");
    if (line.rfind("hvxsim ready", 0) != 0 || tcp == std::string::npos || ser == std::string::npos)
        throw std::runtime_error("unexpected ready line from the simulator: " + line);
    const std::string endpoint = line.substr(tcp + 5, ser - tcp - 5);
    const auto colon = endpoint.rfind(':');
    port = colon == std::string::npos ? 0 : std::stoi(endpoint.substr(colon + 1));
    serial = line.substr(ser + 8);
    if (serial == "-")
        serial.clear();
}

#ifdef _WIN32
// Quotes one argument the way the C runtime splits a command line.
std::string quote_argument(const std::string& arg)
{
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos)
        return arg;
    std::string out = "\"";
    std::size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        out.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, '\\');
    return out + "\"";
}

// The build tree gives the simulator's path as a Unix path; under Wine
// drive Z: is the Unix root.
std::string windows_path(std::string path)
{
    if (!path.empty() && path[0] == '/')
        path = "Z:" + path;
    for (char& c : path) {
        if (c == '/')
            c = '\\';
    }
    return path;
}
#endif

}  // namespace

sim_process::sim_process(std::vector<std::string> extra_args, std::string address, address_choice choice)
    : address_(std::move(address)),
      transcript_path_(folder_.file("transcript.txt")),
      stderr_path_(folder_.file("stderr.txt"))
{
    const int tries = choice == address_choice::next_free ? loopback_tries : 1;
    for (int tried = 1;; ++tried) {
        std::vector<std::string> args = {"--address", address_, "--transcript", transcript_path_};
        args.insert(args.end(), extra_args.begin(), extra_args.end());
        try {
            wait_for_ready_line(args);
            break;
        } catch (const std::runtime_error&) {
            const std::string next = next_loopback_address(address_);
            if (tried >= tries || next.empty() || !address_was_in_use())
                throw;
            address_ = next;
        }
        // The next start's transcript begins empty.
        std::remove(transcript_path_.c_str());
    }
    try {
        parse_ready_line(ready_line_, port_, serial_device_);
    } catch (...) {
        stop();  // the destructor does not run for a failed constructor
        throw;
    }
}

sim_process::~sim_process()
{
    stop();
}

std::string sim_process::error_output() const
{
    return read_file(stderr_path_);
}

bool sim_process::address_was_in_use() const
{
    // "cannot listen on ADDRESS:PORT: <why>"; the Windows simulator gives
    // Winsock's text with its code (WSAEADDRINUSE is 10048).
    const std::string error = error_output();
    const auto at = error.find("cannot listen on " + address_ + ":");
    if (at == std::string::npos)
        return false;
    const std::string why = error.substr(at);
    return why.find("Address already in use") != std::string::npos || why.find("(10048)") != std::string::npos;
}

std::string sim_process::transcript() const
{
    return read_file(transcript_path_);
}

bool sim_process::wait_for_transcript(const std::string& substring, std::chrono::milliseconds timeout) const
{
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    while (true) {
        if (transcript().find(substring) != std::string::npos)
            return true;
        if (std::chrono::steady_clock::now() >= give_up)
            return false;
        std::this_thread::sleep_for(poll_interval);
    }
}

std::vector<std::string> sim_process::records(const std::string& event) const
{
    // "<seconds> <channel> <event> \"<escaped data>\""
    std::vector<std::string> found;
    std::istringstream lines(transcript());
    const std::string marker = " " + event + " \"";
    for (std::string line; std::getline(lines, line);) {
        const auto at = line.find(marker);
        if (at == std::string::npos || line.size() < at + marker.size() + 1 || line.back() != '"')
            continue;
        // The event is the third field; a quoted marker can only appear
        // later inside data, after the second space.
        const auto second_space = line.find(' ', line.find(' ') + 1);
        if (at != second_space)
            continue;
        found.push_back(line.substr(at + marker.size(), line.size() - at - marker.size() - 1));
    }
    return found;
}

std::vector<std::string> sim_process::commands() const
{
    return records("CMD");
}

std::vector<std::string> sim_process::outputs() const
{
    return records("OUT");
}

std::vector<std::string> sim_process::inputs() const
{
    return records("IN");
}

std::vector<std::string> sim_process::notes() const
{
    return records("NOTE");
}

#ifdef _WIN32

void sim_process::wait_for_ready_line(const std::vector<std::string>& args)
{
    std::string command_line = quote_argument(windows_path(HVXSIM_PATH));
    for (const auto& a : args)
        command_line.append(" ").append(quote_argument(a));

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE out_read = nullptr;
    HANDLE out_write = nullptr;
    if (!CreatePipe(&out_read, &out_write, &inherit, 0))
        throw std::runtime_error("cannot create a pipe for the simulator");
    SetHandleInformation(out_read, HANDLE_FLAG_INHERIT, 0);
    HANDLE err_file = CreateFileA(stderr_path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                                  CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE null_in = CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = null_in;
    startup.hStdOutput = out_write;
    startup.hStdError = err_file;
    PROCESS_INFORMATION info{};
    std::vector<char> mutable_line(command_line.begin(), command_line.end());
    mutable_line.push_back('\0');
    const BOOL created = CreateProcessA(nullptr, mutable_line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, nullptr, &startup, &info);
    CloseHandle(out_write);
    if (err_file != INVALID_HANDLE_VALUE)
        CloseHandle(err_file);
    if (null_in != INVALID_HANDLE_VALUE)
        CloseHandle(null_in);
    if (!created) {
        CloseHandle(out_read);
        throw std::runtime_error("cannot start " + command_line + " (error " + std::to_string(GetLastError()) + ")");
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    stdout_read_ = out_read;
    running_ = true;

    const auto give_up = std::chrono::steady_clock::now() + ready_deadline;
    std::string received;
    while (received.find('\n') == std::string::npos) {
        DWORD available = 0;
        if (!PeekNamedPipe(out_read, nullptr, 0, nullptr, &available, nullptr) || available == 0) {
            const bool exited = WaitForSingleObject(info.hProcess, 0) == WAIT_OBJECT_0;
            if (exited || std::chrono::steady_clock::now() >= give_up) {
                const int status = stop();
                throw std::runtime_error("the simulator did not get ready (" + command_line + ", exit status " +
                                         std::to_string(status) + "): " + error_output());
            }
            std::this_thread::sleep_for(poll_interval);
            continue;
        }
        char buffer[256];
        DWORD got = 0;
        if (ReadFile(out_read, buffer, available < sizeof buffer ? available : sizeof buffer, &got, nullptr))
            received.append(buffer, got);
    }
    ready_line_ = received.substr(0, received.find('\n'));
    while (!ready_line_.empty() && ready_line_.back() == '\r')
        ready_line_.pop_back();
}

int sim_process::stop()
{
    if (!running_)
        return exit_status_;
    running_ = false;
    HANDLE process = static_cast<HANDLE>(process_);
    if (WaitForSingleObject(process, 0) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    WaitForSingleObject(process, static_cast<DWORD>(std::chrono::milliseconds(stop_deadline).count()));
    DWORD code = 0;
    exit_status_ = GetExitCodeProcess(process, &code) ? static_cast<int>(code) : -1;
    CloseHandle(process);
    CloseHandle(static_cast<HANDLE>(stdout_read_));
    process_ = nullptr;
    stdout_read_ = nullptr;
    return exit_status_;
}

#else

void sim_process::wait_for_ready_line(const std::vector<std::string>& args)
{
    int out_pipe[2];
    if (::pipe2(out_pipe, O_CLOEXEC) != 0)
        throw std::runtime_error("cannot create a pipe for the simulator");

    std::vector<std::string> argv_text = {HVXSIM_PATH};
    argv_text.insert(argv_text.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv_text)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, stderr_path_.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = -1;
    const int rc = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out_pipe[1]);
    if (rc != 0) {
        ::close(out_pipe[0]);
        throw std::runtime_error(std::string("cannot start ") + HVXSIM_PATH + ": error " + std::to_string(rc));
    }
    pid_ = pid;
    stdout_read_ = out_pipe[0];
    running_ = true;

    const auto give_up = std::chrono::steady_clock::now() + ready_deadline;
    std::string received;
    while (received.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(give_up - std::chrono::steady_clock::now());
        pollfd p{stdout_read_, POLLIN, 0};
        const int ready = left.count() > 0 ? ::poll(&p, 1, static_cast<int>(left.count())) : 0;
        if (ready < 0 && errno == EINTR)
            continue;
        char buffer[256];
        const ssize_t got = ready > 0 ? ::read(stdout_read_, buffer, sizeof buffer) : 0;
        if (got <= 0) {
            const int status = stop();
            throw std::runtime_error("the simulator did not get ready (exit status " + std::to_string(status) +
                                     "): " + error_output());
        }
        received.append(buffer, static_cast<std::size_t>(got));
    }
    ready_line_ = received.substr(0, received.find('\n'));
}

int sim_process::stop()
{
    if (!running_)
        return exit_status_;
    running_ = false;
    ::kill(pid_, SIGTERM);
    const auto give_up = std::chrono::steady_clock::now() + stop_deadline;
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < give_up)
        std::this_thread::sleep_for(poll_interval);
    if (done == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
        exit_status_ = -1;
    } else {
        exit_status_ = (done > 0 && WIFEXITED(status)) ? WEXITSTATUS(status) : -1;
    }
    ::close(stdout_read_);
    stdout_read_ = -1;
    pid_ = -1;
    return exit_status_;
}

#endif

// ---- sim_client -----------------------------------------------------------

namespace {

#ifdef _WIN32
using native_socket = SOCKET;
constexpr int send_flags = 0;

void start_sockets_once()
{
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    if (!started)
        throw std::runtime_error("cannot start Windows Sockets");
}

void close_native(native_socket s)
{
    closesocket(s);
}

// 1 readable, 0 not within ms.
bool last_error_is_address_in_use()
{
    return WSAGetLastError() == WSAEADDRINUSE;
}

int wait_readable(native_socket s, int ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    timeval tv{ms / 1000, (ms % 1000) * 1000};
    return select(0, &set, nullptr, nullptr, &tv) > 0 ? 1 : 0;
}
#else
using native_socket = int;
constexpr int send_flags = MSG_NOSIGNAL;  // a closed peer must not raise SIGPIPE

void start_sockets_once() {}

void close_native(native_socket s)
{
    ::close(s);
}

bool last_error_is_address_in_use()
{
    return errno == EADDRINUSE;
}

int wait_readable(native_socket s, int ms)
{
    pollfd p{s, POLLIN, 0};
    return ::poll(&p, 1, ms) > 0 ? 1 : 0;
}
#endif

native_socket native(std::intptr_t s)
{
    return static_cast<native_socket>(s);
}

sockaddr_in ipv4_endpoint(const std::string& address, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address: " + address);
    return a;
}

// Simulators started later must not inherit the socket and keep it open.
native_socket new_tcp_socket()
{
#ifdef _WIN32
    const native_socket s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
    return s;
#else
    return ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
#endif
}

int remaining_ms(std::chrono::steady_clock::time_point give_up)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(give_up - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

sim_client::sim_client(const std::string& address, int port)
{
    start_sockets_once();
    const sockaddr_in a = ipv4_endpoint(address, port);
    const native_socket s = new_tcp_socket();
    if (::connect(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0) {
        close_native(s);
        throw std::runtime_error("cannot connect to " + address + ":" + std::to_string(port));
    }
    socket_ = static_cast<std::intptr_t>(s);
}

sim_client::~sim_client()
{
    close_native(native(socket_));
}

void sim_client::send(std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto n = ::send(native(socket_), bytes.data(), static_cast<int>(bytes.size()), send_flags);
        if (n <= 0)
            throw std::runtime_error("send to the simulator failed");
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
}

int sim_client::receive_some(std::string& into, int ms)
{
    if (!wait_readable(native(socket_), ms))
        return -1;
    char buffer[65536];
    const auto n = ::recv(native(socket_), buffer, static_cast<int>(sizeof buffer), 0);
    if (n <= 0)
        return 0;
    into.append(buffer, static_cast<std::size_t>(n));
    return static_cast<int>(n);
}

std::string sim_client::read_until(std::string_view terminator, std::chrono::milliseconds timeout)
{
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    std::string got;
    while (got.find(terminator) == std::string::npos) {
        const int n = receive_some(got, remaining_ms(give_up));
        if (n == 0 || (n < 0 && remaining_ms(give_up) == 0))
            break;
    }
    return got;
}

std::string sim_client::read_count(std::size_t count, std::chrono::milliseconds timeout)
{
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    std::string got;
    while (got.size() < count) {
        const int n = receive_some(got, remaining_ms(give_up));
        if (n == 0 || (n < 0 && remaining_ms(give_up) == 0))
            break;
    }
    return got;
}

std::string sim_client::read_for(std::chrono::milliseconds duration)
{
    const auto give_up = std::chrono::steady_clock::now() + duration;
    std::string got;
    while (remaining_ms(give_up) > 0) {
        if (receive_some(got, remaining_ms(give_up)) == 0)
            break;
    }
    return got;
}

bool sim_client::wait_closed(std::chrono::milliseconds timeout)
{
    const auto give_up = std::chrono::steady_clock::now() + timeout;
    std::string ignored;
    while (true) {
        const int n = receive_some(ignored, remaining_ms(give_up));
        if (n == 0)
            return true;
        if (n < 0 && remaining_ms(give_up) == 0)
            return false;
        ignored.clear();
    }
}

void sim_client::shutdown_send()
{
#ifdef _WIN32
    ::shutdown(native(socket_), SD_SEND);
#else
    ::shutdown(native(socket_), SHUT_WR);
#endif
}

// ---- refused_endpoint -------------------------------------------------------

refused_endpoint::refused_endpoint(std::string first_address, int port) : address_(std::move(first_address)), port_(port)
{
    start_sockets_once();
    for (int tried = 1;; ++tried) {
        const sockaddr_in a = ipv4_endpoint(address_, port_);
        const native_socket s = new_tcp_socket();
        if (::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0) {
            socket_ = static_cast<std::intptr_t>(s);
            return;
        }
        const bool in_use = last_error_is_address_in_use();
        close_native(s);
        const std::string next = next_loopback_address(address_);
        if (!in_use || next.empty() || tried >= loopback_tries)
            throw std::runtime_error("cannot hold " + address_ + ":" + std::to_string(port_) + " for refused connects");
        address_ = next;
    }
}

refused_endpoint::~refused_endpoint()
{
    close_native(native(socket_));
}
