// Benchmark: read_all of a family A and a family C configuration from the
// simulator over loopback TCP, beside the same queries ("config,N?" for
// every named number) sent as bare round trips by a plain socket loop in
// the same run. The protocol's own fixed waits (the drains after the reset
// bytes and the settle time before the suspend) are measured on the link
// clock and shown apart; the rest is what the transfer layer costs, and it
// should add little to the round trips themselves.
//
// Needs one simulator per family, for example
//   hvxsim --address 127.0.0.1 --instrument hvxa
//   hvxsim --address 127.0.0.2 --instrument hvxc
// usage: bench_config_read_all ADDRESS_A ADDRESS_C [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench_support.h"
#include "app/debug_output.h"
#include "app/user_prompt.h"
#include "config/hvx_cfg_ak.h"
#include "config/hvx_cfg_ck.h"
#include "config/parameter_names.h"
#include "link/connection.h"
#include "link/identify.h"
#include "link/transport.h"

namespace {

using namespace bench;

// The platform clock, adding up the time spent in the link's sleeps.
class counting_clock final : public link_clock {
public:
    std::uint64_t now_ms() override { return platform_link_clock().now_ms(); }
    void sleep_ms(int ms) override
    {
        const double start = now_seconds();
        platform_link_clock().sleep_ms(ms);
        slept += now_seconds() - start;
    }
    double slept = 0;
};

// The reference: one blocking socket, each query sent with its NUL and its
// reply read up to the line feed.
double plain_round_trips(const char* address, const std::vector<int>& numbers)
{
    const raw_socket s = connect_raw(address, LINK_TCP_PORT);
    char buffer[4096];
    const double start = now_seconds();
    for (int n : numbers) {
        char command[32];
        const int length = std::snprintf(command, sizeof command, "config,%d?\n", n);
        ::send(s, command, length + 1, 0);
        for (bool line_end = false; !line_end;) {
            const int got = static_cast<int>(::recv(s, buffer, sizeof buffer, 0));
            if (got <= 0) {
                std::fprintf(stderr, "plain loop: no reply to config,%d?\n", n);
                std::exit(1);
            }
            line_end = std::memchr(buffer, '\n', static_cast<std::size_t>(got)) != nullptr;
        }
    }
    const double elapsed = now_seconds() - start;
    close_raw(s);
    return elapsed;
}

struct read_all_time {
    double total;
    double waits;
};

read_all_time timed_read_all(instrument_config& model, s_connection* conn, counting_clock& clock)
{
    clock.slept = 0;
    const double start = now_seconds();
    if (!model.read_all(conn, true)) {
        std::fprintf(stderr, "read_all failed for %s\n", conn->ip_address);
        std::exit(1);
    }
    return {now_seconds() - start, clock.slept};
}

void discard_trace(const char*) {}

void bench_family(const char* label, const char* address, int rounds, counting_clock& clock)
{
    auto conn = std::make_unique<s_connection>();
    conn->interface = LINK_LAN;
    connection_set_ip_address(conn.get(), address);
    silent_prompt quiet;
    if (!identify_connection(conn.get(), quiet).identified) {
        std::fprintf(stderr, "no instrument identified at %s\n", address);
        std::exit(1);
    }
    std::unique_ptr<instrument_config> model;
    if (conn->instrument_type == INSTRUMENT_HVXC) {
        model = std::make_unique<hvx_cfg_ck>();
    } else {
        model = std::make_unique<hvx_cfg_ak>();
    }
    const char* const* names = parameter_names_for_type(conn->instrument_type);
    std::vector<int> numbers;
    for (int n = PARAMETER_NAME_COUNT - 1; n >= 1; --n) {
        if (!parameter_unused(names[n])) {
            numbers.push_back(n);
        }
    }

    std::vector<double> totals, waits, transfers, quiet_transfers, plains;
    for (int i = 0; i < rounds; ++i) {
        const read_all_time t = timed_read_all(*model, conn.get(), clock);
        totals.push_back(t.total);
        waits.push_back(t.waits);
        transfers.push_back(t.total - t.waits);
        // The same with the traces discarded: with the comms log off every
        // command, reply and value goes to the debugger output, which under
        // some Windows environments costs tens of microseconds a call.
        debug_output_redirect(discard_trace);
        const read_all_time q = timed_read_all(*model, conn.get(), clock);
        debug_output_redirect(nullptr);
        quiet_transfers.push_back(q.total - q.waits);
        plains.push_back(plain_round_trips(address, numbers));
    }
    const double transfer = median(transfers);
    const double plain = median(plains);
    std::printf("%s (type %d): read_all of %zu parameters over loopback TCP, median of %d rounds\n", label,
                conn->instrument_type, numbers.size(), rounds);
    std::printf("  read_all, whole            : %8.2f ms\n", median(totals) * 1000.0);
    std::printf("  of which fixed waits       : %8.2f ms\n", median(waits) * 1000.0);
    std::printf("  read_all, without waits    : %8.2f ms\n", transfer * 1000.0);
    std::printf("  ... and without traces     : %8.2f ms\n", median(quiet_transfers) * 1000.0);
    std::printf("  plain socket round trips   : %8.2f ms\n", plain * 1000.0);
    std::printf("  ratio                      : %8.2f\n", transfer / plain);
    std::printf("  ratio without traces       : %8.2f\n", median(quiet_transfers) / plain);
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_config_read_all ADDRESS_A ADDRESS_C [ROUNDS]\n");
        return 2;
    }
    const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
#ifdef _WIN32
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
#endif
    counting_clock clock;
    link_use_backend(nullptr, nullptr, &clock);
    bench_family("family A", argv[1], rounds, clock);
    bench_family("family C", argv[2], rounds, clock);
    link_restore_platform_backend();
    return 0;
}
