// TCP transport on Linux: BSD sockets. poll() stands in for select() so that
// descriptors above FD_SETSIZE are safe; the sets map as read = POLLIN,
// write = POLLOUT, exception = POLLPRI (errors and hang-ups are always
// reported by poll).
#include "link/transport.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using steady = std::chrono::steady_clock;

int remaining_ms(steady::time_point deadline)
{
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - steady::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

// poll() on one descriptor until something in events (or an error) is
// reported or the deadline passes; EINTR resumes with the time left.
// Returns the reported events, 0 on timeout, -1 on failure.
int poll_until(int fd, short events, steady::time_point deadline)
{
    for (;;) {
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, remaining_ms(deadline));
        if (r > 0) return p.revents;
        if (r == 0) return 0;
        if (errno != EINTR) return -1;
    }
}

bool set_blocking(int fd, bool blocking)
{
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0) return false;
    const int wanted = blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK);
    return ::fcntl(fd, F_SETFL, wanted) == 0;
}

// Completes a non-blocking connect that reported EINPROGRESS: the socket must
// become writable within timeout_ms and carry no pending error.
bool finish_connect(int fd, int timeout_ms)
{
    const auto deadline = steady::now() + std::chrono::milliseconds(timeout_ms);
    const int events = poll_until(fd, POLLOUT | POLLPRI, deadline);
    if (events <= 0 || (events & POLLOUT) == 0) return false;
    int error = 0;
    socklen_t size = sizeof error;
    return ::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

class posix_tcp_transport final : public tcp_transport {
public:
    bool startup() override { return true; }
    void cleanup() override {}

    int connect(const char* ip_address, int port, int timeout_ms, link_socket_t* out) override
    {
        if (ip_address == nullptr || out == nullptr || port <= 0 || port > 65535) return -1;
        const in_addr_t address = ::inet_addr(ip_address);
        if (address == INADDR_NONE) return -1;

        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP);
        if (fd < 0) return -1;
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(static_cast<std::uint16_t>(port));
        peer.sin_addr.s_addr = address;

        bool connected = false;
        if (set_blocking(fd, false)) {
            if (::connect(fd, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
                connected = true;
            } else if (errno == EINPROGRESS) {
                connected = finish_connect(fd, timeout_ms > 0 ? timeout_ms : 0);
            }
        }
        if (!connected || !set_blocking(fd, true)) {
            ::close(fd);
            return -1;
        }
        *out = fd;
        return 0;
    }

    int send_all(link_socket_t s, const char* data, std::size_t len) override
    {
        if (s < 0 || (data == nullptr && len > 0)) return -1;
        std::size_t sent = 0;
        while (sent < len) {
            // MSG_NOSIGNAL: a peer that has gone away gives EPIPE, not SIGPIPE.
            const ssize_t n = ::send(s, data + sent, len - sent, MSG_NOSIGNAL);
            if (n > 0) {
                sent += static_cast<std::size_t>(n);
            } else if (n < 0 && errno == EINTR) {
                continue;
            } else {
                return -1;
            }
        }
        return 0;
    }

    // Zero-timeout check of the read and exception sets: 1 when a receive
    // will not block, 0 nothing waiting.
    static int readable(link_socket_t s)
    {
        if (s < 0) return 0;
        pollfd p{s, POLLIN | POLLPRI, 0};
        return ::poll(&p, 1, 0) > 0 && p.revents != 0 ? 1 : 0;
    }

    int receive(link_socket_t s, unsigned char* buffer, int max) override
    {
        if (s < 0 || buffer == nullptr || max <= 0) return -1;
        for (;;) {
            // MSG_DONTWAIT: readable() also reports urgent data and errors,
            // after which a plain recv could wait for ordinary data.
            const ssize_t n = ::recv(s, buffer, static_cast<std::size_t>(max), MSG_DONTWAIT);
            if (n >= 0) return static_cast<int>(n);
            if (errno == EAGAIN || errno == EWOULDBLOCK) return TCP_NOTHING_WAITING;
            if (errno != EINTR) return -1;
        }
    }

    int wait_idle(link_socket_t s, int ms) override
    {
        if (ms <= 0) return readable(s);
        const auto deadline = steady::now() + std::chrono::milliseconds(ms);
        const int events = s >= 0 ? poll_until(s, POLLIN | POLLPRI | POLLRDHUP, deadline) : -1;
        // Bytes waiting end the wait at once, so a reply is read as soon as
        // it arrives. Errors and hang-ups are reported at once and stay
        // reported: sleep out the rest so a caller polling a dead socket
        // does not spin (the last bytes a closing peer sent are still read).
        const int dead = POLLERR | POLLHUP | POLLNVAL | POLLRDHUP;
        if (events < 0 || (events & dead) != 0) {
            std::this_thread::sleep_until(deadline);
        }
        return events > 0 && (events & POLLIN) != 0 ? 1 : 0;
    }

    void close(link_socket_t s) override
    {
        if (s < 0) return;
        ::shutdown(s, SHUT_WR);
        ::close(s);
    }
};

}  // namespace

tcp_transport& platform_tcp_transport()
{
    static posix_tcp_transport transport;
    return transport;
}
