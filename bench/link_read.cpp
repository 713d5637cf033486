// Benchmark: reading a sweep-sized reply (2000 lines of 70 characters) with
// link_read_line over loopback TCP, beside a plain socket loop reading the
// same reply in the same run. The link must not be the bottleneck.
//
// Needs a simulator that answers "burst?" with the lines, for example
//   hvxsim --address 127.0.0.1 --burst 'burst?=2000x70'
// usage: bench_link_read [ADDRESS] [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench_support.h"
#include "link/connection.h"

namespace {

using namespace bench;

constexpr int LINES = 2000;
constexpr const char* COMMAND = "burst?\n";

// The reference: one blocking socket, large receives, count line feeds.
double plain_socket_read(const char* address)
{
    const raw_socket s = connect_raw(address, LINK_TCP_PORT);
    const double start = now_seconds();
    ::send(s, COMMAND, static_cast<int>(std::strlen(COMMAND) + 1), 0);
    int lines = 0;
    char buffer[65536];
    while (lines < LINES) {
        const int got = static_cast<int>(::recv(s, buffer, sizeof buffer, 0));
        if (got <= 0) {
            std::fprintf(stderr, "plain read: connection ended after %d lines\n", lines);
            std::exit(1);
        }
        lines += static_cast<int>(std::count(buffer, buffer + got, '\n'));
    }
    const double elapsed = now_seconds() - start;
    close_raw(s);
    return elapsed;
}

double link_read(const char* address)
{
    s_connection conn;
    conn.interface = LINK_LAN;
    connection_set_ip_address(&conn, address);
    if (link_open(&conn) != 0) {
        std::fprintf(stderr, "link_open failed for %s\n", address);
        std::exit(1);
    }
    char line[256];
    const double start = now_seconds();
    link_send(&conn, COMMAND);
    for (int i = 0; i < LINES; ++i) {
        if (link_read_line(&conn, line, sizeof line) <= 0) {
            std::fprintf(stderr, "link read: no line %d\n", i);
            std::exit(1);
        }
    }
    const double elapsed = now_seconds() - start;
    link_close(&conn);
    return elapsed;
}

}  // namespace

int main(int argc, char** argv)
{
    const char* address = argc > 1 ? argv[1] : "127.0.0.1";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    std::vector<double> plain;
    std::vector<double> link;
    for (int i = 0; i < rounds; ++i) {
        plain.push_back(plain_socket_read(address));
        link.push_back(link_read(address));
    }
    const double p = median(plain);
    const double l = median(link);
    std::printf("link_read: %d lines of a burst over loopback TCP, median of %d rounds\n", LINES, rounds);
    std::printf("  plain socket loop : %8.2f ms\n", p * 1000.0);
    std::printf("  link_read_line    : %8.2f ms\n", l * 1000.0);
    std::printf("  ratio             : %8.2f\n", l / p);
    return 0;
}
