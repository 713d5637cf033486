// The preamble of the sweep text exports: a title, the file format, the
// connected instrument's identity and the settings report of the
// configuration the program holds, so that the sweep import can read the
// file back (it passes over everything before the data).
#pragma once

#include <string>

struct s_connection;
class instrument_config;

// The identity lines' fields: model, serial number and firmware version of
// the instrument's identity reply, and the calibration text (which nothing
// fills).
struct s_export_identity {
    std::string model;
    std::string serial;
    std::string version;
    std::string calibration;
};

// The identity held by the connection record; every field empty when it
// holds none (the export then still writes its lines).
s_export_identity export_identity_of(const s_connection& connection);

// Title, file format, identity block and the settings report (report_text,
// already CR LF), each line ending in CR LF.
std::string export_preamble_text(const s_export_identity& identity, const std::string& report_text);

// The line that opens the data, with its CR LF.
inline constexpr const char* EXPORT_DATA_START = "data start sweep 1\r\n";
