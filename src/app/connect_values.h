// The "Connect" values that come from outside the program, the main settings
// file and the tool's options, checked before they go into the connection
// record. The record's fields are short, so a value that does not fit is
// refused whole, never cut to a name that means another port or address; so
// are an interface number the program does not know and a baud rate the
// serial port does not open at. Each check gives "" for a good value, else a
// message naming the value as it was given:
//   <subject> "<value>"<where> is too long: a port name has at most 6 characters
// with subject the key or option ("ComPort", "--lan") and where the place it
// came from (" in the settings file C:\...\Corvexa.ini", or "").
#pragma once

#include <cstddef>
#include <string>

// The longest port name and IP address text the connection record holds.
inline constexpr std::size_t connect_com_port_length = 6;
inline constexpr std::size_t connect_ip_address_length = 15;

// The value as the messages quote it: in double quotes; one longer than 40
// characters as its first 40, "..." and its length ("\"1111...\" (5000 characters)").
std::string connect_quoted_value(const std::string& value);

std::string connect_com_port_problem(const std::string& subject, const std::string& value,
                                     const std::string& where);
std::string connect_ip_address_problem(const std::string& subject, const std::string& value,
                                       const std::string& where);
// 0 (none chosen) and the three interfaces are known:
//   <subject> <n><where> is not 1 (USB), 2 (LAN) or 3 (Serial)
std::string connect_interface_problem(const std::string& subject, int interface, const std::string& where);

// A rate the serial port opens at (110 to 921600, the standard rates), or:
//   <subject> <n><where> is not a rate the serial port opens at: 110, 300, ...
std::string connect_baud_rate_problem(const std::string& subject, int baud, const std::string& where);
