#include "app/connect_values.h"

#include "link/connection.h"

namespace {

static_assert(sizeof(s_connection{}.com_port) == connect_com_port_length + 1);
static_assert(sizeof(s_connection{}.ip_address) == connect_ip_address_length + 1);

constexpr std::size_t quoted_length = 40;

// The rates both serial transports open a port at (the POSIX one knows no
// others; these are the standard rates a Windows port driver takes).
constexpr int baud_rates[] = {110,   300,   600,    1200,   2400,   4800,   9600,
                              19200, 38400, 57600,  115200, 230400, 460800, 921600};

std::string too_long(const std::string& subject, const std::string& value, const std::string& where,
                     const char* what, std::size_t limit)
{
    if (value.size() <= limit) {
        return {};
    }
    return subject + " " + connect_quoted_value(value) + where + " is too long: " + what + " has at most " +
           std::to_string(limit) + " characters";
}

}  // namespace

std::string connect_quoted_value(const std::string& value)
{
    if (value.size() <= quoted_length) {
        return '"' + value + '"';
    }
    return '"' + value.substr(0, quoted_length) + "...\" (" + std::to_string(value.size()) + " characters)";
}

std::string connect_com_port_problem(const std::string& subject, const std::string& value,
                                     const std::string& where)
{
    return too_long(subject, value, where, "a port name", connect_com_port_length);
}

std::string connect_ip_address_problem(const std::string& subject, const std::string& value,
                                       const std::string& where)
{
    return too_long(subject, value, where, "an IP address", connect_ip_address_length);
}

std::string connect_interface_problem(const std::string& subject, int interface, const std::string& where)
{
    if (interface >= LINK_NONE && interface <= LINK_SERIAL) {
        return {};
    }
    return subject + " " + std::to_string(interface) + where + " is not 1 (USB), 2 (LAN) or 3 (Serial)";
}

std::string connect_baud_rate_problem(const std::string& subject, int baud, const std::string& where)
{
    std::string rates;
    for (const int rate : baud_rates) {
        if (rate == baud) {
            return {};
        }
        rates += (rates.empty() ? "" : ", ") + std::to_string(rate);
    }
    return subject + " " + std::to_string(baud) + where + " is not a rate the serial port opens at: " + rates;
}
