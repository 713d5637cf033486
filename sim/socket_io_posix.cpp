#include "sim/socket_io.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace hvxsim {

namespace {

constexpr int write_wait_ms = 100;  // one wait for room to write, between stop checks

int fd_of(socket_handle s)
{
    return static_cast<int>(s);
}

std::string address_text(const sockaddr_in& a)
{
    char text[INET_ADDRSTRLEN] = "";
    inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return std::string(text) + ":" + std::to_string(ntohs(a.sin_port));
}

}  // namespace

bool start_sockets(std::string&)
{
    return true;
}

socket_handle listen_tcp(const std::string& address, int port, int& bound_port, std::string& error)
{
    const std::string where = address + ":" + std::to_string(port);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    if (inet_pton(AF_INET, address.c_str(), &a.sin_addr) != 1) {
        error = "not an IPv4 address: " + address;
        return no_socket;
    }
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return no_socket;
    }
    // Lets a restarted simulator take its port while old connections linger
    // in TIME_WAIT; a live listener on the same address still fails to bind.
    const int on = 1;
    setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        error = "cannot listen on " + where + ": " + std::strerror(errno);
        ::close(fd);
        return no_socket;
    }
    socklen_t len = sizeof a;
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    bound_port = ntohs(a.sin_port);
    return fd;
}

socket_handle accept_client(socket_handle listener, int timeout_ms, std::string& peer)
{
    pollfd p{fd_of(listener), POLLIN, 0};
    if (::poll(&p, 1, timeout_ms) <= 0)
        return no_socket;
    sockaddr_in a{};
    socklen_t len = sizeof a;
    const int fd = ::accept4(fd_of(listener), reinterpret_cast<sockaddr*>(&a), &len, SOCK_CLOEXEC);
    if (fd < 0)
        return no_socket;
    peer = address_text(a);
    return fd;
}

void close_socket(socket_handle s)
{
    if (s != no_socket)
        ::close(fd_of(s));
}

byte_channel::read_result socket_channel::read(char* buffer, std::size_t capacity, int timeout_ms)
{
    pollfd p{fd_of(socket_), POLLIN, 0};
    const int ready = ::poll(&p, 1, timeout_ms);
    if (ready == 0 || (ready < 0 && errno == EINTR))
        return {read_status::timeout, 0};
    if (ready < 0)
        return {read_status::ended, 0};
    const ssize_t n = ::recv(fd_of(socket_), buffer, capacity, MSG_DONTWAIT);
    if (n > 0)
        return {read_status::data, static_cast<std::size_t>(n)};
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return {read_status::timeout, 0};
    return {read_status::ended, 0};
}

byte_channel::write_status socket_channel::write(std::string_view bytes, const std::atomic<bool>& stop)
{
    auto last_progress = std::chrono::steady_clock::now();
    while (!bytes.empty()) {
        const ssize_t n = ::send(fd_of(socket_), bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(n));
            last_progress = std::chrono::steady_clock::now();
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)
            return write_status::failed;
        if (stop)
            return write_status::failed;
        if (stall_limit_.count() > 0 && std::chrono::steady_clock::now() - last_progress >= stall_limit_)
            return write_status::stalled;
        pollfd p{fd_of(socket_), POLLOUT, 0};
        ::poll(&p, 1, write_wait_ms);
    }
    return write_status::written;
}

}  // namespace hvxsim
