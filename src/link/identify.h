// Identification of the connected instrument from its "*IDN?" reply: the
// accepted maker/product prefixes and the model-code rules that give the
// instrument type code, which decides the configuration model and the sweep
// behaviours used later.
#pragma once

#include <string>

struct s_connection;
class user_prompt;

enum instrument_type_code : int {
    INSTRUMENT_UNKNOWN = 0,
    INSTRUMENT_HVXA = 7,   // HVX families A and B
    INSTRUMENT_HVXB = 8,   // never assigned by identification
    INSTRUMENT_HVXC = 9,   // HVX family C
};

struct identify_result {
    bool identified = false;
    // The text the "Test Connection" box shows.
    std::string message;
};

// Opens the link, asks "*IDN?" up to five times, classifies the reply and
// closes the link again. Updates instrument_type, sub_model, current_option
// and (on success only) identity. The prompt shows the wait cursor while the
// instrument is asked; it shows no message (see identify_instrument).
identify_result identify_connection(s_connection* conn, user_prompt& prompt);

// "Failed to connect to IP address A" or "Unable to open port P": what the
// user is told when the link to this connection does not open.
std::string link_open_failure_message(const s_connection* conn);

// identify_connection, then the result in a "Test Connection" box with the
// information icon. Returns whether the instrument was identified.
bool identify_instrument(user_prompt& prompt, s_connection* conn);

// Display name of an instrument type code ("HVXA", "AXP1/AXP2/AXP3", ...);
// nullptr for codes without one.
const char* instrument_type_name(int type);
