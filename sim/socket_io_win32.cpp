#include "sim/socket_io.h"

#include <winsock2.h>
#include <ws2tcpip.h>

namespace hvxsim {

namespace {

constexpr int write_wait_ms = 100;  // one wait for room to write, between stop checks

SOCKET sock_of(socket_handle s)
{
    return static_cast<SOCKET>(s);
}

std::string error_text(int code)
{
    char text[256] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, static_cast<DWORD>(code), 0,
                   text, sizeof text, nullptr);
    std::string s = text;
    while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' '))
        s.pop_back();
    return s + " (" + std::to_string(code) + ")";
}

// Waits for the socket to become readable (or writable); 1 ready, 0 not.
int wait_socket(SOCKET s, bool for_write, int timeout_ms)
{
    fd_set set;
    FD_ZERO(&set);
    FD_SET(s, &set);
    fd_set errors;
    FD_ZERO(&errors);
    FD_SET(s, &errors);
    timeval tv{timeout_ms / 1000, (timeout_ms % 1000) * 1000};
    const int n = select(0, for_write ? nullptr : &set, for_write ? &set : nullptr, &errors, &tv);
    return n > 0 ? 1 : 0;
}

// Child processes must not inherit the simulator's sockets: an inherited
// copy would keep a listener bound or a connection open after we close it.
void keep_from_children(SOCKET s)
{
    SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
}

std::string address_text(const sockaddr_in& a)
{
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
}

}  // namespace

bool start_sockets(std::string& error)
{
    WSADATA data;
    const int rc = WSAStartup(MAKEWORD(2, 2), &data);
    if (rc != 0) {
        error = "cannot start Windows Sockets: " + error_text(rc);
        return false;
    }
    return true;
}

socket_handle listen_tcp(const std::string& address, int port, int& bound_port, std::string& error)
{
    const std::string where = address + ":" + std::to_string(port);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<u_short>(port));
    if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) {
        error = "not an IPv4 address: " + address;
        return no_socket;
    }
    const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET) {
        error = "cannot create a socket: " + error_text(WSAGetLastError());
        return no_socket;
    }
    keep_from_children(s);
    // No SO_REUSEADDR: on Windows it would let a second listener share the port.
    if (::bind(s, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(s, SOMAXCONN) != 0) {
        error = "cannot listen on " + where + ": " + error_text(WSAGetLastError());
        closesocket(s);
        return no_socket;
    }
    int len = sizeof a;
    getsockname(s, reinterpret_cast<sockaddr*>(&a), &len);
    bound_port = ntohs(a.sin_port);
    return static_cast<socket_handle>(s);
}

socket_handle accept_client(socket_handle listener, int timeout_ms, std::string& peer)
{
    if (!wait_socket(sock_of(listener), false, timeout_ms))
        return no_socket;
    sockaddr_in a{};
    int len = sizeof a;
    const SOCKET s = ::accept(sock_of(listener), reinterpret_cast<sockaddr*>(&a), &len);
    if (s == INVALID_SOCKET)
        return no_socket;
    keep_from_children(s);
    u_long non_blocking = 1;
    ioctlsocket(s, FIONBIO, &non_blocking);
    peer = address_text(a);
    return static_cast<socket_handle>(s);
}

void close_socket(socket_handle s)
{
    if (s != no_socket)
        closesocket(sock_of(s));
}

byte_channel::read_result socket_channel::read(char* buffer, std::size_t capacity, int timeout_ms)
{
    if (!wait_socket(sock_of(socket_), false, timeout_ms))
        return {read_status::timeout, 0};
    const int n = ::recv(sock_of(socket_), buffer, static_cast<int>(capacity), 0);
    if (n > 0)
        return {read_status::data, static_cast<std::size_t>(n)};
    if (n < 0 && WSAGetLastError() == WSAEWOULDBLOCK)
        return {read_status::timeout, 0};
    return {read_status::ended, 0};
}

byte_channel::write_status socket_channel::write(std::string_view bytes, const std::atomic<bool>& stop)
{
    auto last_progress = std::chrono::steady_clock::now();
    while (!bytes.empty()) {
        const int chunk = bytes.size() > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(bytes.size());
        const int n = ::send(sock_of(socket_), bytes.data(), chunk, 0);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            last_progress = std::chrono::steady_clock::now();
            continue;
        }
        if (n < 0 && WSAGetLastError() != WSAEWOULDBLOCK)
            return write_status::failed;
        if (stop)
            return write_status::failed;
        if (stall_limit_.count() > 0 && std::chrono::steady_clock::now() - last_progress >= stall_limit_)
            return write_status::stalled;
        wait_socket(sock_of(socket_), true, write_wait_ms);
    }
    return write_status::written;
}

}  // namespace hvxsim
