// TCP transport on Windows: Windows Sockets 2.2.
#include "link/transport.h"

#include <winsock2.h>

#include <climits>
#include <mutex>
#include <set>

namespace {

timeval timeval_from_ms(int ms)
{
    if (ms < 0) ms = 0;
    timeval tv;
    tv.tv_sec = ms / 1000;
    tv.tv_usec = (ms % 1000) * 1000;
    return tv;
}

bool set_non_blocking(SOCKET s)
{
    u_long non_blocking = 1;
    return ioctlsocket(s, FIONBIO, &non_blocking) == 0;
}

// How long a send waits for room in a full send buffer before it fails.
constexpr int SEND_STALL_MS = 5000;

// What select says of one socket within timeout_ms: ready in the read or
// write set asked for, in the exception set, or select itself failed.
struct socket_state {
    bool ready = false;
    bool failed = false;
    bool select_failed = false;
};

socket_state select_one(SOCKET s, bool for_writing, int timeout_ms)
{
    fd_set wanted;
    fd_set failed;
    FD_ZERO(&wanted);
    FD_ZERO(&failed);
    FD_SET(s, &wanted);
    FD_SET(s, &failed);
    timeval tv = timeval_from_ms(timeout_ms);
    fd_set* readers = for_writing ? nullptr : &wanted;
    fd_set* writers = for_writing ? &wanted : nullptr;
    const int count = select(0, readers, writers, &failed, &tv);
    socket_state state;
    state.select_failed = count < 0;
    if (count > 0) {
        state.ready = FD_ISSET(s, &wanted) != 0;
        state.failed = FD_ISSET(s, &failed) != 0;
    }
    return state;
}

bool wait_writable(SOCKET s, int timeout_ms)
{
    const socket_state state = select_one(s, true, timeout_ms);
    return state.ready && !state.failed;
}

// Completes a non-blocking connect that reported WSAEWOULDBLOCK: within
// timeout_ms the socket must turn up in the write set; a refusal or other
// failure shows up in the exception set instead.
bool finish_connect(SOCKET s, int timeout_ms)
{
    if (!wait_writable(s, timeout_ms)) return false;
    int error = 0;
    int size = sizeof error;
    return getsockopt(s, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &size) == 0 && error == 0;
}

class win32_tcp_transport final : public tcp_transport {
public:
    bool startup() override
    {
        WSADATA data;
        if (WSAStartup(MAKEWORD(2, 2), &data) != 0) {
            WSACleanup();
            return false;
        }
        if (LOBYTE(data.wVersion) != 2 || HIBYTE(data.wVersion) != 2) {
            WSACleanup();
            return false;
        }
        return true;
    }

    void cleanup() override { WSACleanup(); }

    int connect(const char* ip_address, int port, int timeout_ms, link_socket_t* out) override
    {
        if (ip_address == nullptr || out == nullptr || port <= 0 || port > 65535) return -1;
        const unsigned long address = inet_addr(ip_address);
        if (address == INADDR_NONE) return -1;

        const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        if (s == INVALID_SOCKET) return -1;
        sockaddr_in peer{};
        peer.sin_family = AF_INET;
        peer.sin_port = htons(static_cast<u_short>(port));
        peer.sin_addr.s_addr = address;

        bool connected = false;
        if (set_non_blocking(s)) {
            if (::connect(s, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) == 0) {
                connected = true;
            } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
                connected = finish_connect(s, timeout_ms);
            }
        }
        // The socket stays non-blocking: receive tries without waiting, and
        // send_all waits for room when the send buffer is full.
        if (!connected) {
            closesocket(s);
            return -1;
        }
        *out = static_cast<link_socket_t>(s);
        return 0;
    }

    int send_all(link_socket_t s, const char* data, std::size_t len) override
    {
        if (s == LINK_INVALID_SOCKET || (data == nullptr && len > 0)) return -1;
        std::size_t sent = 0;
        while (sent < len) {
            const std::size_t left = len - sent;
            const int chunk = left > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(left);
            const int n = send(static_cast<SOCKET>(s), data + sent, chunk, 0);
            if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
                if (!wait_writable(static_cast<SOCKET>(s), SEND_STALL_MS)) return -1;
                continue;
            }
            if (n <= 0) return -1;
            sent += static_cast<std::size_t>(n);
        }
        return 0;
    }

    // Sockets whose peer has closed (a receive gave 0 or failed): readable
    // for ever, so the idle wait must not return early for them.
    void mark_finished(link_socket_t s)
    {
        std::lock_guard<std::mutex> lock(finished_mutex_);
        finished_.insert(s);
    }
    bool finished(link_socket_t s)
    {
        std::lock_guard<std::mutex> lock(finished_mutex_);
        return finished_.count(s) != 0;
    }
    void forget(link_socket_t s)
    {
        std::lock_guard<std::mutex> lock(finished_mutex_);
        finished_.erase(s);
    }

    // Zero-timeout check of the read and exception sets: 1 when a receive
    // will not block, 0 nothing waiting.
    static int readable(link_socket_t s)
    {
        if (s == LINK_INVALID_SOCKET) return 0;
        const socket_state state = select_one(static_cast<SOCKET>(s), false, 0);
        return state.ready || state.failed ? 1 : 0;
    }

    int receive(link_socket_t s, unsigned char* buffer, int max) override
    {
        if (s == LINK_INVALID_SOCKET || buffer == nullptr || max <= 0) return -1;
        const int n = recv(static_cast<SOCKET>(s), reinterpret_cast<char*>(buffer), max, 0);
        if (n == SOCKET_ERROR && WSAGetLastError() == WSAEWOULDBLOCK) {
            return TCP_NOTHING_WAITING;
        }
        if (n <= 0) {
            mark_finished(s);
        }
        return n == SOCKET_ERROR ? -1 : n;
    }

    int wait_idle(link_socket_t s, int ms) override
    {
        if (ms <= 0) return readable(s);
        if (s != LINK_INVALID_SOCKET && !finished(s)) {
            const socket_state state = select_one(static_cast<SOCKET>(s), false, ms);
            if (!state.select_failed && !state.ready && !state.failed) return 0;
            if (state.ready && !state.failed) {
                // Bytes waiting end the wait at once. A closed peer also reads
                // as ready: the receive that follows finds it closed and marks
                // it, and from then on it waits out the time like a failure.
                return 1;
            }
        }
        // Closed by the peer, failed, or refused by select (Winsock not
        // started): wait anyway, so a caller polling it does not spin.
        Sleep(static_cast<DWORD>(ms));
        return 0;
    }

    void close(link_socket_t s) override
    {
        if (s == LINK_INVALID_SOCKET) return;
        forget(s);
        shutdown(static_cast<SOCKET>(s), SD_SEND);
        closesocket(static_cast<SOCKET>(s));
    }

private:
    std::mutex finished_mutex_;
    std::set<link_socket_t> finished_;
};

}  // namespace

tcp_transport& platform_tcp_transport()
{
    static win32_tcp_transport transport;
    return transport;
}
