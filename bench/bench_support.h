// What the benchmark programs share: a seconds clock, the median of rounds,
// and the plain blocking socket their references use.
#pragma once

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace bench {

inline double now_seconds()
{
    using seconds = std::chrono::duration<double>;
    return std::chrono::duration_cast<seconds>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The median over rounds of the time one call takes, in seconds; each round
// times repeats calls, so that a round lasts long enough to time.
inline double seconds_per_call(int rounds, int repeats, const std::function<void()>& call)
{
    std::vector<double> times;
    for (int round = 0; round < rounds; ++round) {
        const double start = now_seconds();
        for (int k = 0; k < repeats; ++k) {
            call();
        }
        times.push_back((now_seconds() - start) / repeats);
    }
    return median(times);
}

#ifdef _WIN32
using raw_socket = SOCKET;
inline void close_raw(raw_socket s) { closesocket(s); }
#else
using raw_socket = int;
inline void close_raw(raw_socket s) { ::close(s); }
#endif

// A blocking TCP connection to address:port; ends the program when there is none.
inline raw_socket connect_raw(const char* address, int port)
{
    raw_socket s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(static_cast<unsigned short>(port));
    to.sin_addr.s_addr = inet_addr(address);
    if (::connect(s, reinterpret_cast<sockaddr*>(&to), sizeof to) != 0) {
        std::fprintf(stderr, "cannot connect to %s\n", address);
        std::exit(1);
    }
    return s;
}

}  // namespace bench
