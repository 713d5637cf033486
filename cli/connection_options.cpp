#include "connection_options.h"

#include <cstdlib>
#include <cstring>

#include "link/connection.h"
#include "link/serial_port_names.h"

namespace {

constexpr int USB_BAUD_RATE = 19200;
constexpr int DEFAULT_SERIAL_BAUD_RATE = 19200;
// The COM name a device path given on the command line is known by.
constexpr const char* DEVICE_ALIAS_NAME = "COM99";

bool parse_positive(const std::string& text, int* value)
{
    char* end = nullptr;
    const long n = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || n <= 0 || n > 4000000) {
        return false;
    }
    *value = static_cast<int>(n);
    return true;
}

bool is_com_name(const std::string& port)
{
    return port.size() <= sizeof(s_connection{}.com_port) - 1 && port.size() > 3 &&
           (port.compare(0, 3, "COM") == 0 || port.compare(0, 3, "com") == 0);
}

}  // namespace

bool take_connection_options(std::vector<std::string>* words, connection_options* options, std::string* error)
{
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words->size(); ++i) {
        const std::string& word = (*words)[i];
        const bool takes_value = word == "--lan" || word == "--serial" || word == "--usb" || word == "--baud" ||
                                 word == "--log";
        if (!takes_value) {
            rest.push_back(word);
            continue;
        }
        if (i + 1 >= words->size()) {
            *error = word + " needs a value";
            return false;
        }
        const std::string& value = (*words)[++i];
        if (word == "--baud") {
            if (!parse_positive(value, &options->baud)) {
                *error = "--baud needs a positive whole number";
                return false;
            }
        } else if (word == "--log") {
            options->log_folder = value;
        } else {
            if (options->interface != 0) {
                *error = "choose one of --lan, --serial and --usb";
                return false;
            }
            options->interface = word == "--lan" ? LINK_LAN : word == "--usb" ? LINK_USB : LINK_SERIAL;
            options->address_or_port = value;
        }
    }
    *words = rest;
    return true;
}

bool apply_connection_options(const connection_options& options, s_connection* conn, std::string* error)
{
    if (options.interface == 0) {
        if (options.baud != 0) {
            conn->baud_rate = options.baud;
        }
        return true;
    }
    conn->interface = options.interface;
    if (options.interface == LINK_LAN) {
        if (options.address_or_port.size() >= sizeof conn->ip_address) {
            *error = "the address is too long: " + options.address_or_port;
            return false;
        }
        connection_set_ip_address(conn, options.address_or_port.c_str());
        return true;
    }
    std::string name = options.address_or_port;
    if (!is_com_name(name)) {
#ifdef _WIN32
        *error = "a serial port is named COM1 to COM999: " + name;
        return false;
#else
        serial_port_alias(DEVICE_ALIAS_NAME, name);
        name = DEVICE_ALIAS_NAME;
#endif
    }
    connection_set_com_port(conn, name.c_str());
    if (options.interface == LINK_USB) {
        conn->baud_rate = USB_BAUD_RATE;
    } else if (options.baud != 0) {
        conn->baud_rate = options.baud;
    } else if (conn->baud_rate <= 0) {
        conn->baud_rate = DEFAULT_SERIAL_BAUD_RATE;
    }
    return true;
}
