// The connection and logging options every command accepts:
//   --lan ADDRESS            TCP to ADDRESS, port 10001
//   --serial PORT [--baud N] RS232 (COMn, or on Linux a device path)
//   --usb PORT               the instrument's USB serial port, 19200 baud
//   --log DIR                comms log on, file CORVEXA2_COMMS.log in DIR
// Without a connection option the "Connect" values of the settings file apply.
#pragma once

#include <string>
#include <vector>

struct s_connection;

struct connection_options {
    int interface = 0;  // 0: none given, use the settings file
    std::string address_or_port;
    int baud = 0;       // 0: not given
    std::string log_folder;
};

// Takes the options out of words (leaving the rest in order). False with a
// message for a malformed option: an empty value, or a baud rate the serial
// port does not open at.
bool take_connection_options(std::vector<std::string>* words, connection_options* options, std::string* error);

// Fills the record from the options, or, with no connection option, checks
// what settings_load put there. False with a message naming the value as the
// user gave it, and the record's port and address unchanged, when a value
// does not fit the record or the port: a port that is not COM1 to COM999
// (nor, on Linux, an existing device path), an address longer than 15
// characters, a serial baud rate the port does not open at, or a "Connect"
// value the settings file holds that settings_load refused.
bool apply_connection_options(const connection_options& options, s_connection* conn, std::string* error);
