#include "connection_options.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "app/connect_values.h"
#include "app/settings.h"
#include "app/text_encoding.h"
#include "link/connection.h"
#include "link/serial_port_names.h"

namespace {

constexpr int USB_BAUD_RATE = 19200;
constexpr int DEFAULT_SERIAL_BAUD_RATE = 19200;
// The COM name a device path given on the command line is known by.
constexpr const char* DEVICE_ALIAS_NAME = "COM99";
constexpr int HIGHEST_COM_NUMBER = 999;

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

// "COM" in any letter case followed by nothing but digits.
bool looks_like_com_name(const std::string& port)
{
    if (port.size() < 3) {
        return false;
    }
    for (std::size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(port[i])) != "COM"[i]) {
            return false;
        }
    }
    for (std::size_t i = 3; i < port.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(port[i]))) {
            return false;
        }
    }
    return true;
}

// COM1 to COM999: a name the record holds whole.
bool is_com_name(const std::string& port)
{
    if (!looks_like_com_name(port) || port.size() == 3 || port.size() > connect_com_port_length) {
        return false;
    }
    const int number = std::atoi(port.c_str() + 3);
    return number >= 1 && number <= HIGHEST_COM_NUMBER;
}

// Where the port is: a COM name into the record as it is; on Linux also a
// device path, which must exist, registered under the alias the record
// holds. False with a message naming the port as the user gave it.
bool choose_port(const std::string& port, s_connection* conn, std::string* error)
{
    if (is_com_name(port)) {
        connection_set_com_port(conn, port.c_str());
        return true;
    }
#ifdef _WIN32
    *error = "a serial port is named COM1 to COM999: " + port;
    return false;
#else
    if (looks_like_com_name(port) || port.empty() || port[0] != '/') {
        *error = "a serial port is named COM1 to COM999, or by its device path: " + port;
        return false;
    }
    std::error_code ignored;
    if (!std::filesystem::exists(std::filesystem::path(system_path(port)), ignored)) {
        *error = "no such serial device: " + port;
        return false;
    }
    serial_port_alias(DEVICE_ALIAS_NAME, port);
    connection_set_com_port(conn, DEVICE_ALIAS_NAME);
    return true;
#endif
}

// Every problem of the settings file's "Connect" values, one per line.
std::string settings_problem_text()
{
    std::string text;
    for (const std::string& problem : settings_problems()) {
        text += (text.empty() ? "" : "\n") + problem;
    }
    return text;
}

// The serial record's baud rate must be one the port opens at; a rate from
// the settings file is named as its key there.
bool check_serial_baud(const connection_options& options, const s_connection& conn, std::string* error)
{
    if (conn.interface != LINK_SERIAL) {
        return true;
    }
    *error = options.baud != 0
                 ? connect_baud_rate_problem("--baud", conn.baud_rate, "")
                 : connect_baud_rate_problem("BaudRate", conn.baud_rate, " in the settings file " + settings_file());
    return error->empty();
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
        if (i + 1 >= words->size() || (*words)[i + 1].empty()) {
            *error = word + " needs a value";
            return false;
        }
        const std::string& value = (*words)[++i];
        if (word == "--baud") {
            if (!parse_positive(value, &options->baud)) {
                *error = "--baud needs a positive whole number";
                return false;
            }
            *error = connect_baud_rate_problem("--baud", options->baud, "");
            if (!error->empty()) {
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
        *error = settings_problem_text();
        if (!error->empty()) {
            return false;
        }
        if (options.baud != 0) {
            conn->baud_rate = options.baud;
        }
        if (conn->interface == LINK_USB) {
            conn->baud_rate = USB_BAUD_RATE;
        }
        return check_serial_baud(options, *conn, error);
    }
    if (options.interface == LINK_LAN) {
        *error = connect_ip_address_problem("--lan", options.address_or_port, "");
        if (!error->empty()) {
            return false;
        }
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn, options.address_or_port.c_str());
        return true;
    }
    if (!choose_port(options.address_or_port, conn, error)) {
        return false;
    }
    conn->interface = options.interface;
    if (options.interface == LINK_USB) {
        conn->baud_rate = USB_BAUD_RATE;
    } else if (options.baud != 0) {
        conn->baud_rate = options.baud;
    } else if (conn->baud_rate <= 0) {
        conn->baud_rate = DEFAULT_SERIAL_BAUD_RATE;
    }
    return true;
}
