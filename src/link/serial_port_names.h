// Serial port names: the connection record keeps a short COM port name
// ("COM12", at most 6 characters); this turns it into the device the serial
// transport opens.
//
// Windows: "\\.\" + name, so that ports above COM9 open too.
// Linux, in this order:
//   1. an alias registered with serial_port_alias (the command-line tool maps a
//      device path given by the user onto a COM name this way);
//   2. when the environment variable CORVEXA2_DOSDEVICES names a folder, the
//      entry "<folder>/com<N>" (lower case, laid out like a Wine prefix's
//      dosdevices folder; tests point it at symlinks to pseudo-terminals);
//   3. "/dev/ttyS<N-1>" for "COM<N>".
// A name that already is a device path (starting with '/' on Linux, with
// "\\" on Windows) is returned unchanged; a name that cannot be resolved
// gives "", which no device matches.
#pragma once

#include <string>

// The device path behind com_name ("" for a null, empty or unresolvable name).
// COM names are matched without regard to case.
std::string serial_port_device(const char* com_name);

// Registers device_path as the device of com_name, replacing an earlier alias
// of the same name; an empty device_path removes the alias. Thread-safe.
void serial_port_alias(const char* com_name, const std::string& device_path);

// The name to show the user for com_name: the device path the user gave
// when com_name is an alias of one, otherwise com_name itself.
std::string serial_port_shown_name(const char* com_name);
