// The parameter layer: one parameter queried or set over an open link, with
// the retries, reset bytes and drains that bring a confused instrument back
// in step. Every wait goes through the link clock.
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "link/connection.h"
#include "link/transport.h"

namespace {

constexpr int QUERY_ATTEMPTS = 3;
constexpr int INT_QUERY_FAILURES = 3;
constexpr int WRITE_ATTEMPTS = 3;
constexpr int REPLY_SIZE = 128;  // replies of at most 127 characters
constexpr int RECOVERY_DRAIN_MS = 100;
constexpr int ESR_SETTLE_MS = 200;
constexpr int RESEND_SETTLE_MS = 500;
constexpr int ESR_ACCEPTS_UP_TO = 32;
constexpr int ESR_MASK = 0x7F;

void sleep_ms(int ms)
{
    link_current_backend().clock->sleep_ms(ms);
}

// The reset byte interrupts whatever the instrument was sending; the drain
// throws away what was already under way.
void recover(s_connection* conn)
{
    const char reset[2] = {LINK_RESET_BYTE, '\0'};
    link_send(conn, reset);
    link_drain(conn, RECOVERY_DRAIN_MS);
}

bool is_digit(char c)
{
    return c >= '0' && c <= '9';
}

}  // namespace

int config_limit_as_int(double limit)
{
    if (!(limit == limit)) {  // NaN
        return 0;
    }
    if (limit >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (limit <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(limit);
}

void config_query_text(int command_number, char* out, int size, s_connection* conn)
{
    char command[32];
    std::snprintf(command, sizeof command, "config,%d?\n", command_number);
    char reply[REPLY_SIZE];
    for (int attempt = 0; attempt < QUERY_ATTEMPTS; ++attempt) {
        link_send(conn, command);
        if (link_read_line(conn, reply, REPLY_SIZE) > 0) {
            if (out && size > 0) {
                std::memset(out, 0, static_cast<std::size_t>(size));
                std::strncpy(out, reply, static_cast<std::size_t>(size - 1));
            }
            return;
        }
        recover(conn);
    }
    throw config_transfer_error(config_error_code(command_number, 0));
}

int config_query_int(int command_number, s_connection* conn)
{
    int failures = 0;
    for (;;) {
        char reply[REPLY_SIZE] = {};
        config_query_text(command_number, reply, REPLY_SIZE, conn);
        if (is_digit(reply[0])) {
            return config_leading_int(reply);
        }
        const std::int32_t failure = reply[0] == '\0' ? CONFIG_EMPTY_REPLY : CONFIG_NON_NUMERIC_REPLY;
        recover(conn);
        if (++failures >= INT_QUERY_FAILURES) {
            throw config_transfer_error(config_error_code(command_number, failure));
        }
    }
}

int config_query_int_checked(int command_number, int min, int max, s_connection* conn)
{
    const int value = config_query_int(command_number, conn);
    if (value < min || value > max) {
        recover(conn);
        throw config_transfer_error(config_error_code(command_number, value));
    }
    return value;
}

void config_send_text(int command_number, const char* text, s_connection* conn)
{
    const std::string command = "config," + std::to_string(command_number) + "," + (text ? text : "") + "\n";
    link_send(conn, command.c_str());
    int esr = 0;
    for (int attempt = 0; attempt < WRITE_ATTEMPTS; ++attempt) {
        if (attempt > 0) {
            recover(conn);
            link_send(conn, command.c_str());
            sleep_ms(RESEND_SETTLE_MS);
        }
        sleep_ms(ESR_SETTLE_MS);
        link_send(conn, "*esr?\n");
        char reply[REPLY_SIZE];
        const bool arrived = link_read_line(conn, reply, REPLY_SIZE) > 0 && reply[0] != '\0';
        const int value = arrived ? config_leading_int(reply) : 0;
        esr = value & ESR_MASK;
        if (arrived && value <= ESR_ACCEPTS_UP_TO) {
            return;
        }
    }
    throw config_transfer_error(config_error_code(command_number, esr));
}

void config_send_int(int command_number, int value, s_connection* conn)
{
    config_send_text(command_number, std::to_string(value).c_str(), conn);
}
