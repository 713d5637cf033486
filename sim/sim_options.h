// The simulator's command line. Every option, fault knobs included, is one
// row of a table (sim_options.cpp) with its argument name, help text and
// how it sets the fields below.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sim/config_faults.h"
#include "sim/dut_models.h"
#include "sim/reply_overrides.h"

namespace hvxsim {

struct sim_options {
    std::string address = "127.0.0.1";
    int port = 10001;
    bool tcp = true;
    bool serial = false;
    std::string serial_link;       // empty: no link
    std::string transcript_path;   // empty: no transcript
    std::string instrument_key = "hvxa";
    std::optional<std::string> idn;  // overrides the preset's identity text
    std::vector<std::pair<int, std::string>> initial_values;  // --set N=V, in order
    bool list_config = false;
    std::string screen_path;             // --screen: the display's picture; empty: the built-in one
    std::string write_screen_path;       // --write-screen: write the colour picture and exit
    std::string write_screen_mono_path;  // --write-screen-mono: the monochrome one
    bool help = false;
    unsigned idle_timeout_s = 30;  // drop a TCP client idle this long; 0: never
    // Devices under test (--dut); nothing: the default of the domain.
    std::optional<dut_choice> transfer_dut;
    std::optional<dut_choice> impedance_dut;
    unsigned point_ms = 1;   // sweep time per step
    unsigned settle_ms = 1;  // point ready after a generator frequency write
    // Measurement fault knobs (sweep_state.h).
    bool never_ready = false;
    bool bad_line_first = false;
    std::optional<unsigned> bad_line_after;
    std::optional<unsigned> silent_after;
    double noise = 0;
    unsigned noise_seed = 1;
    unsigned slow_lines_ms = 0;  // between the lines of a measurement reply

    // Fault knobs.
    bool silent = false;
    unsigned long idn_from = 1;
    unsigned delay_ms = 0;
    unsigned trickle_ms = 0;
    bool bare_lf = false;
    std::vector<reply_override> overrides;
    std::optional<unsigned> stream_ms;
    bool refuse = false;
    std::vector<config_fault> config_faults;
    unsigned slow_config_ms = 0;
    bool suspend_busy = false;
    // Screen reply knobs (screen_state.h).
    std::optional<unsigned> screen_stop_after;
    std::optional<unsigned> screen_short_line;
    std::optional<unsigned> screen_garble_line;
};

// Parses the arguments after the program name. False with a message in
// error for an unknown option, a missing or malformed argument, an unknown
// instrument key, a listen address outside 127.0.0.0/8, or nothing to serve.
bool parse_options(const std::vector<std::string>& args, sim_options& options, std::string& error);

// The --help text.
std::string usage_text();

// True for a dotted IPv4 address in 127.0.0.0/8.
bool is_loopback_address(const std::string& address);

}  // namespace hvxsim
