// The platform TCP transport against small peers on loopback addresses
// (127.0.0.60 to 127.0.0.69), served by this test itself. The same test runs
// natively on BSD sockets and, in the Windows build, on Winsock under Wine.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "link/transport.h"

#ifdef _WIN32
#include <winsock2.h>
using peer_socket = SOCKET;
using peer_socklen = int;
const peer_socket no_peer_socket = INVALID_SOCKET;
void close_peer_socket(peer_socket s) { closesocket(s); }
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using peer_socket = int;
using peer_socklen = socklen_t;
const peer_socket no_peer_socket = -1;
void close_peer_socket(peer_socket s) { ::close(s); }
#endif

namespace {

using steady = std::chrono::steady_clock;

long long ms_since(steady::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(steady::now() - start).count();
}

sockaddr_in loopback(const char* ip, int port)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<unsigned short>(port));
    a.sin_addr.s_addr = inet_addr(ip);
    return a;
}

// A socket bound to ip on a free port; listening when backlog >= 0, merely
// bound (so connects to it are refused) when backlog < 0.
class bound_socket {
public:
    bound_socket(const char* ip, int backlog)
    {
        s_ = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in a = loopback(ip, 0);
        if (s_ == no_peer_socket || ::bind(s_, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0) return;
        peer_socklen size = sizeof a;
        if (::getsockname(s_, reinterpret_cast<sockaddr*>(&a), &size) != 0) return;
        if (backlog >= 0 && ::listen(s_, backlog) != 0) return;
        port_ = ntohs(a.sin_port);
    }
    ~bound_socket()
    {
        if (s_ != no_peer_socket) close_peer_socket(s_);
    }
    bound_socket(const bound_socket&) = delete;
    bound_socket& operator=(const bound_socket&) = delete;

    int port() const { return port_; }
    peer_socket accept_one() { return ::accept(s_, nullptr, nullptr); }

private:
    peer_socket s_ = no_peer_socket;
    int port_ = 0;
};

// Everything the peer receives until the link closes its sending side.
std::string receive_until_closed(peer_socket s)
{
    std::string got;
    char chunk[4096];
    for (;;) {
        const int n = static_cast<int>(::recv(s, chunk, sizeof chunk, 0));
        if (n <= 0) return got;
        got.append(chunk, static_cast<std::size_t>(n));
    }
}

void send_text(peer_socket s, const std::string& text)
{
    ASSERT_EQ(static_cast<int>(::send(s, text.data(), static_cast<int>(text.size()), 0)),
              static_cast<int>(text.size()));
}

// Closes with a reset instead of an orderly shutdown.
void reset_peer_socket(peer_socket s)
{
    linger hard{};
    hard.l_onoff = 1;
    hard.l_linger = 0;
    ::setsockopt(s, SOL_SOCKET, SO_LINGER, reinterpret_cast<const char*>(&hard), sizeof hard);
    close_peer_socket(s);
}

// True when a handshake to port stays incomplete for a while: the probe stays
// half-open (it is closed with the listener's test).
bool handshake_stalls(const char* ip, int port, std::vector<peer_socket>* probes)
{
    peer_socket s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    probes->push_back(s);
#ifdef _WIN32
    u_long non_blocking = 1;
    ioctlsocket(s, FIONBIO, &non_blocking);
#else
    ::fcntl(s, F_SETFL, ::fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
    sockaddr_in a = loopback(ip, port);
    ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a);
#ifdef _WIN32
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(s, &writable);
    timeval tv{0, 500000};
    return select(0, nullptr, &writable, nullptr, &tv) == 0;
#else
    pollfd p{s, POLLOUT, 0};
    return ::poll(&p, 1, 500) == 0;
#endif
}

class TransportTcp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(tcp.startup()); }
    void TearDown() override { tcp.cleanup(); }

    // Waits (generously) until the transport reports the socket readable.
    bool wait_readable(link_socket_t s)
    {
        const auto start = steady::now();
        while (tcp.wait_idle(s, 10) != 1) {
            if (ms_since(start) > 20000) return false;
        }
        return true;
    }

    tcp_transport& tcp = platform_tcp_transport();
};

TEST_F(TransportTcp, ConnectsAndSendsEveryByteIncludingNuls)
{
    bound_socket listener("127.0.0.60", 4);
    ASSERT_NE(listener.port(), 0);
    link_socket_t s = LINK_INVALID_SOCKET;
    ASSERT_EQ(tcp.connect("127.0.0.60", listener.port(), 5000, &s), 0);

    std::string received;
    // Small socket buffers, a payload many times their size and a peer that
    // starts reading late: the sender must block part way, and a socket left
    // in non-blocking mode after the connect fails the send.
    const int small_buffer = 16 * 1024;
    ::setsockopt(static_cast<peer_socket>(s), SOL_SOCKET, SO_SNDBUF, reinterpret_cast<const char*>(&small_buffer),
                 sizeof small_buffer);
    std::thread peer([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        peer_socket p = listener.accept_one();
        received = receive_until_closed(p);
        close_peer_socket(p);
    });
    std::string payload(1024 * 1024 + 17, '\0');
    for (std::size_t i = 0; i < payload.size(); ++i) payload[i] = static_cast<char>((i * 7) % 251);
    EXPECT_EQ(tcp.send_all(s, payload.data(), payload.size()), 0);
    tcp.close(s);
    peer.join();

    ASSERT_EQ(received.size(), payload.size());
    EXPECT_TRUE(received == payload);
}

TEST_F(TransportTcp, ConnectFailsAtOnceOnRefusalAndBadAddress)
{
    bound_socket not_listening("127.0.0.61", -1);
    ASSERT_NE(not_listening.port(), 0);
    struct failure_case {
        const char* ip;
        int port;
    };
    const failure_case cases[] = {
        {"127.0.0.61", not_listening.port()},  // nobody listens: refused
        {"no.such.address", 10001},
        {"127.0.0.300", 10001},
        {"127.0.0.61", 0},
        {"127.0.0.61", 70000},
    };
    for (const failure_case& c : cases) {
        SCOPED_TRACE(std::string(c.ip) + ":" + std::to_string(c.port));
        link_socket_t s = LINK_INVALID_SOCKET;
        const auto start = steady::now();
        EXPECT_EQ(tcp.connect(c.ip, c.port, 30000, &s), -1);
        EXPECT_EQ(s, LINK_INVALID_SOCKET);
        // A refusal is an answer: waiting out the handshake time is a fault.
        EXPECT_LT(ms_since(start), 30000);
    }
}

TEST_F(TransportTcp, ConnectGivesUpWhenTheHandshakeNeverCompletes)
{
    // A listener with no room in its accept queue leaves further handshakes
    // unanswered.
    bound_socket listener("127.0.0.62", 0);
    ASSERT_NE(listener.port(), 0);
    std::vector<peer_socket> probes;
    bool stalled = false;
    for (int i = 0; i < 8 && !stalled; ++i) stalled = handshake_stalls("127.0.0.62", listener.port(), &probes);
    if (!stalled) {
        for (peer_socket p : probes) close_peer_socket(p);
        GTEST_SKIP() << "this system completes every loopback handshake";
    }

    link_socket_t s = LINK_INVALID_SOCKET;
    const auto start = steady::now();
    EXPECT_EQ(tcp.connect("127.0.0.62", listener.port(), 300, &s), -1);
    EXPECT_EQ(s, LINK_INVALID_SOCKET);
    EXPECT_GE(ms_since(start), 250);
    for (peer_socket p : probes) close_peer_socket(p);
}

TEST_F(TransportTcp, ReceivesWhatArrivesAndSeesThePeerClose)
{
    bound_socket listener("127.0.0.63", 4);
    ASSERT_NE(listener.port(), 0);
    link_socket_t s = LINK_INVALID_SOCKET;
    ASSERT_EQ(tcp.connect("127.0.0.63", listener.port(), 5000, &s), 0);
    peer_socket peer = listener.accept_one();
    unsigned char buffer[255];
    // Nothing has arrived: the receive says so at once.
    EXPECT_EQ(tcp.receive(s, buffer, sizeof buffer), TCP_NOTHING_WAITING);

    const std::string reply("ab\0cd\r\n", 7);
    send_text(peer, reply);
    std::string got;
    while (got.size() < reply.size() && wait_readable(s)) {
        // Never more than max bytes per receive, whatever is waiting.
        const int n = tcp.receive(s, buffer, 2);
        ASSERT_GT(n, 0);
        ASSERT_LE(n, 2);
        got.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, reply);
    EXPECT_EQ(tcp.receive(s, buffer, sizeof buffer), TCP_NOTHING_WAITING);

    close_peer_socket(peer);
    ASSERT_TRUE(wait_readable(s));
    EXPECT_EQ(tcp.receive(s, buffer, sizeof buffer), 0);
    tcp.close(s);
}

TEST_F(TransportTcp, IdleWaitTakesItsTimeOnLiveAndBrokenSockets)
{
    bound_socket listener("127.0.0.64", 4);
    ASSERT_NE(listener.port(), 0);
    for (const bool broken : {false, true}) {
        SCOPED_TRACE(broken ? "peer reset the connection" : "idle connection");
        link_socket_t s = LINK_INVALID_SOCKET;
        ASSERT_EQ(tcp.connect("127.0.0.64", listener.port(), 5000, &s), 0);
        peer_socket peer = listener.accept_one();
        if (broken) {
            reset_peer_socket(peer);
            ASSERT_TRUE(wait_readable(s));
            // The reader's receive finds the connection gone.
            unsigned char buffer[16];
            EXPECT_LE(tcp.receive(s, buffer, sizeof buffer), 0);
        }

        // Five 20 ms waits, as a reading loop makes them: a wait that
        // returned at once would make that loop spin.
        const auto start = steady::now();
        for (int i = 0; i < 5; ++i) {
            if (tcp.wait_idle(s, 20) == 1) {
                unsigned char buffer[16];
                tcp.receive(s, buffer, sizeof buffer);
            }
        }
        EXPECT_GE(ms_since(start), 50);

        tcp.close(s);
        if (!broken) close_peer_socket(peer);
    }
}

TEST_F(TransportTcp, IdleWaitEndsAsSoonAsBytesArePending)
{
    bound_socket listener("127.0.0.65", 4);
    ASSERT_NE(listener.port(), 0);
    link_socket_t s = LINK_INVALID_SOCKET;
    ASSERT_EQ(tcp.connect("127.0.0.65", listener.port(), 5000, &s), 0);
    peer_socket peer = listener.accept_one();
    send_text(peer, "reply\r\n");
    ASSERT_TRUE(wait_readable(s));
    // A reply that is already waiting must not sit out a long idle wait.
    const auto start = steady::now();
    tcp.wait_idle(s, 30000);
    EXPECT_LT(ms_since(start), 20000);
    tcp.close(s);
    close_peer_socket(peer);
}

}  // namespace
