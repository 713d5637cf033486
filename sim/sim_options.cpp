#include "sim/sim_options.h"

#include <charconv>
#include <span>
#include <string_view>

#include "sim/config_number_text.h"
#include "sim/identity_presets.h"

namespace hvxsim {

namespace {

constexpr unsigned long max_milliseconds = 3600000;  // an hour is plenty for any delay

bool parse_unsigned(const std::string& text, unsigned long min, unsigned long max, unsigned long& value,
                    std::string& error)
{
    unsigned long parsed = 0;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, parsed);
    if (text.empty() || ec != std::errc() || ptr != last || parsed < min || parsed > max) {
        error = "expected a whole number from " + std::to_string(min) + " to " + std::to_string(max) + ", got \"" +
                text + "\"";
        return false;
    }
    value = parsed;
    return true;
}

bool set_milliseconds(const std::string& text, unsigned& field, std::string& error)
{
    unsigned long value = 0;
    if (!parse_unsigned(text, 0, max_milliseconds, value, error))
        return false;
    field = static_cast<unsigned>(value);
    return true;
}

template <bool sim_options::*field, bool value>
bool set_flag(const std::string&, sim_options& o, std::string&)
{
    o.*field = value;
    return true;
}

template <std::string sim_options::*field>
bool set_text(const std::string& text, sim_options& o, std::string&)
{
    o.*field = text;
    return true;
}

template <auto parser>
bool add_override(const std::string& text, sim_options& o, std::string& error)
{
    auto forced = parser(text, error);
    if (!forced)
        return false;
    o.overrides.push_back(std::move(*forced));
    return true;
}

template <config_fault::action what>
bool add_config_fault(const std::string& text, sim_options& o, std::string& error)
{
    auto fault = parse_config_fault(what, text, error);
    if (!fault)
        return false;
    o.config_faults.push_back(std::move(*fault));
    return true;
}

// "N=V": parameter N starts at V.
bool add_initial_value(const std::string& text, sim_options& o, std::string& error)
{
    const auto eq = text.find('=');
    unsigned long number = 0;
    if (eq == std::string::npos || !parse_unsigned(text.substr(0, eq), 0, 9999, number, error)) {
        error = "expected N=V with N from 0 to 9999, got \"" + text + "\"";
        return false;
    }
    o.initial_values.emplace_back(static_cast<int>(number), text.substr(eq + 1));
    return true;
}

// "NAME[:k=v,...]": the device measured in its domain (the last one given).
bool set_dut(const std::string& text, sim_options& o, std::string& error)
{
    auto choice = parse_dut(text, error);
    if (!choice)
        return false;
    (choice->kind->domain == dut_domain::transfer ? o.transfer_dut : o.impedance_dut) = *choice;
    return true;
}

// A count of sweep reply lines, 0 to 2000.
bool set_line_count(const std::string& text, std::optional<unsigned>& field, std::string& error)
{
    unsigned long count = 0;
    if (!parse_unsigned(text, 0, 2000, count, error))
        return false;
    field = static_cast<unsigned>(count);
    return true;
}

// "REL[:SEED]": relative noise from 0 to 1, seed a whole number.
bool set_noise(const std::string& text, sim_options& o, std::string& error)
{
    const auto colon = text.find(':');
    double noise = 0;
    if (!parse_real_number(text.substr(0, colon), noise) || noise < 0 || noise > 1) {
        error = "expected a relative noise from 0 to 1, got \"" + text.substr(0, colon) + "\"";
        return false;
    }
    if (colon != std::string::npos) {
        unsigned long seed = 0;
        if (!parse_unsigned(text.substr(colon + 1), 0, 4294967295ul, seed, error))
            return false;
        o.noise_seed = static_cast<unsigned>(seed);
    }
    o.noise = noise;
    return true;
}

// A line of a screen reply, counted from 1.
bool set_screen_line(const std::string& text, std::optional<unsigned>& field, std::string& error)
{
    unsigned long line = 0;
    if (!parse_unsigned(text, 1, 2000, line, error))
        return false;
    field = static_cast<unsigned>(line);
    return true;
}

struct option_row {
    std::string_view name;
    std::string_view argument;  // empty: a flag without argument
    std::string_view help;
    bool fault_knob;
    bool (*apply)(const std::string& value, sim_options& o, std::string& error);
};

constexpr option_row option_table[] = {
    {"--address", "A", "TCP listen address (default 127.0.0.1; any 127.0.0.0/8 address)", false,
     [](const std::string& v, sim_options& o, std::string& e) {
         if (!is_loopback_address(v)) {
             e = "the listen address must be in 127.0.0.0/8, got \"" + v + "\"";
             return false;
         }
         o.address = v;
         return true;
     }},
    {"--port", "P", "TCP port (default 10001; 0 picks a free port)", false,
     [](const std::string& v, sim_options& o, std::string& e) {
         unsigned long port = 0;
         if (!parse_unsigned(v, 0, 65535, port, e))
             return false;
         o.port = static_cast<int>(port);
         return true;
     }},
    {"--no-tcp", "", "no TCP listener", false,
     set_flag<&sim_options::tcp, false>},
    {"--serial", "", "also serve a pseudo-terminal (POSIX builds only)", false,
     set_flag<&sim_options::serial, true>},
    {"--serial-link", "PATH", "keep a symbolic link PATH -> the pty's slave device (implies --serial)", false,
     [](const std::string& v, sim_options& o, std::string&) {
         o.serial_link = v;
         o.serial = true;
         return true;
     }},
    {"--transcript", "FILE", "append the time-stamped transcript to FILE", false,
     set_text<&sim_options::transcript_path>},
    {"--instrument", "KEY", "identity preset (see below); default hvxa", false,
     [](const std::string& v, sim_options& o, std::string& e) {
         if (!find_identity_preset(v)) {
             e = "unknown instrument \"" + v + "\" (see --help for the list)";
             return false;
         }
         o.instrument_key = v;
         return true;
     }},
    {"--idn", "TEXT", "exact \"*IDN?\" reply text (overrides the preset)", false,
     [](const std::string& v, sim_options& o, std::string&) {
         o.idn = v;
         return true;
     }},
    {"--set", "N=V", "start with configuration parameter N at V (the instrument's numbering; repeatable)", false,
     add_initial_value},
    {"--idle-timeout-s", "N",
     "drop a TCP client that has sent nothing for N s, not counting waits for its replies (default 30; 0: never)",
     false,
     [](const std::string& v, sim_options& o, std::string& e) {
         unsigned long seconds = 0;
         if (!parse_unsigned(v, 0, max_milliseconds / 1000, seconds, e))
             return false;
         o.idle_timeout_s = static_cast<unsigned>(seconds);
         return true;
     }},
    {"--dut", "NAME[:k=v,...]",
     "measure this device (see below); one FRA and one LCR device may be given (default through, resistor)",
     false, set_dut},
    {"--point-ms", "N", "sweep time per step: \"DAV?\" bit 2 sets N ms x steps after \"start\" (default 1)", false,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.point_ms, e); }},
    {"--settle-ms", "N",
     "\"DAV?\" bits 0 and 1 set N ms after a write of the generator frequency, parameter 48 (default 1)", false,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.settle_ms, e); }},
    {"--list-config", "", "print the instrument's configuration parameters, with --set applied, and exit", false,
     set_flag<&sim_options::list_config, true>},
    {"--screen", "FILE.bmp",
     "show this picture on the display: an uncompressed 24- or 32-bit bitmap of the screen's size (default: a "
     "built-in test picture)",
     false, set_text<&sim_options::screen_path>},
    {"--write-screen", "FILE.bmp", "write the display's picture as the colour reply carries it (24 bits) and exit",
     false, set_text<&sim_options::write_screen_path>},
    {"--write-screen-mono", "FILE.bmp",
     "write the display's picture as the monochrome reply carries it (black and white) and exit", false,
     set_text<&sim_options::write_screen_mono_path>},
    {"--help", "", "show this text", false,
     set_flag<&sim_options::help, true>},

    {"--silent", "", "never reply to anything", true,
     set_flag<&sim_options::silent, true>},
    {"--idn-from", "N", "answer \"*IDN?\" only from the Nth request on, counting across connections", true,
     [](const std::string& v, sim_options& o, std::string& e) {
         return parse_unsigned(v, 1, 1000000, o.idn_from, e);
     }},
    {"--delay-ms", "N", "wait N ms before each reply", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.delay_ms, e); }},
    {"--trickle-ms", "N", "send replies one byte at a time, N ms apart", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.trickle_ms, e); }},
    {"--bare-lf", "", "end reply lines with LF only (not CR LF)", true,
     set_flag<&sim_options::bare_lf, true>},
    {"--binary-reply", "CMD=V1[,V2...]", "reply to CMD with the values as 5-byte binary numbers", true,
     add_override<parse_binary_reply>},
    {"--raw-reply", "CMD=TEXT", "reply to CMD with TEXT (C escapes allowed) and a line end", true,
     add_override<parse_raw_reply>},
    {"--exact-reply", "CMD=TEXT", "reply to CMD with exactly the bytes of TEXT (C escapes allowed), no line end", true,
     add_override<parse_exact_reply>},
    {"--burst", "CMD=N[xLEN]", "reply to CMD with N lines of LEN characters (default 70) at once", true,
     add_override<parse_burst_reply>},
    {"--big-reply", "CMD=N", "reply to CMD with one line of N characters in a single write", true,
     add_override<parse_big_reply>},
    {"--endless-reply", "CMD",
     "answer CMD with letters A-Z repeating, flat out, never a line end, until the connection ends, a reset or the "
     "idle drop",
     true,
     add_override<parse_endless_reply>},
    {"--stream-ms", "N", "after each TCP connect send an unsolicited line every N ms (0: flat out)", true,
     [](const std::string& v, sim_options& o, std::string& e) {
         unsigned ms = 0;
         if (!set_milliseconds(v, ms, e))
             return false;
         o.stream_ms = ms;
         return true;
     }},
    {"--refuse", "", "accept each TCP connection and close it at once", true,
     set_flag<&sim_options::refuse, true>},
    {"--reject-write", "N[:K]", "refuse writes of parameter N (ESR 48)", true,
     add_config_fault<config_fault::action::reject_write>},
    {"--no-reply", "N[:K]", "leave queries of parameter N unanswered", true,
     add_config_fault<config_fault::action::no_reply>},
    {"--empty-reply", "N[:K]", "answer queries of parameter N with an empty line", true,
     add_config_fault<config_fault::action::empty_reply>},
    {"--bad-reply", "N=TEXT[:K]", "answer queries of parameter N with TEXT (C escapes; a colon in TEXT as \\x3a)",
     true, add_config_fault<config_fault::action::text_reply>},
    {"--out-of-limits", "N=V[:K]", "answer queries of parameter N with V, which N does not accept", true,
     add_config_fault<config_fault::action::value_reply>},
    {"--slow-config-ms", "MS", "wait MS ms before answering each configuration query", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.slow_config_ms, e); }},
    {"--never-ready", "", "\"DAV?\" always reads 0: no sweep or point is ever ready", true,
     set_flag<&sim_options::never_ready, true>},
    {"--bad-line-first", "", "sweep replies begin with a line the strict field check refuses", true,
     set_flag<&sim_options::bad_line_first, true>},
    {"--bad-line-after", "K", "sweep replies carry a line the strict field check refuses after point K", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_line_count(v, o.bad_line_after, e); }},
    {"--silent-after", "K", "sweep replies end after K lines, the rest never sent", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_line_count(v, o.silent_after, e); }},
    {"--slow-lines-ms", "N",
     "each line of a sweep, reading or screen reply goes out N ms after the one before (the first N ms late)", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_milliseconds(v, o.slow_lines_ms, e); }},
    {"--noise", "REL[:SEED]",
     "measured responses times 1 + REL x a complex normal draw (fixed seed, default 1, so runs repeat)", true,
     set_noise},
    {"--suspend-busy", "", "refuse every \"SUSPEN,ON\": the next \"*ESR?\" reads 1", true,
     set_flag<&sim_options::suspend_busy, true>},
    {"--screen-stop-after", "K", "screen replies end after K lines, the rest never sent", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_line_count(v, o.screen_stop_after, e); }},
    {"--screen-short-line", "K", "line K (from 1) of every screen reply cut to half its length", true,
     [](const std::string& v, sim_options& o, std::string& e) { return set_screen_line(v, o.screen_short_line, e); }},
    {"--screen-garble-line", "K",
     "line K (from 1) of every screen reply with \"??\" for its first two pixel characters", true,
     [](const std::string& v, sim_options& o, std::string& e) {
         return set_screen_line(v, o.screen_garble_line, e);
     }},
};

const option_row* find_option(std::string_view name)
{
    for (const auto& row : option_table) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

}  // namespace

bool is_loopback_address(const std::string& address)
{
    int octets = 0;
    std::size_t pos = 0;
    unsigned first = 0;
    while (octets < 4) {
        unsigned value = 0;
        const char* begin = address.data() + pos;
        const char* end = address.data() + address.size();
        const auto [ptr, ec] = std::from_chars(begin, end, value);
        if (ec != std::errc() || ptr == begin || ptr - begin > 3 || value > 255)
            return false;
        if (octets == 0)
            first = value;
        ++octets;
        pos = static_cast<std::size_t>(ptr - address.data());
        if (octets < 4) {
            if (pos >= address.size() || address[pos] != '.')
                return false;
            ++pos;
        }
    }
    return pos == address.size() && first == 127;
}

bool parse_options(const std::vector<std::string>& args, sim_options& options, std::string& error)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const option_row* row = find_option(args[i]);
        if (!row) {
            error = "unknown option \"" + args[i] + "\" (see --help)";
            return false;
        }
        const std::string& name = args[i];
        std::string value;
        if (!row->argument.empty()) {
            if (i + 1 >= args.size()) {
                error = args[i] + " needs an argument " + std::string(row->argument);
                return false;
            }
            value = args[++i];
        }
        std::string why;
        if (!row->apply(value, options, why)) {
            error = name + ": " + why;
            return false;
        }
    }
    if (!options.help && !options.tcp && !options.serial) {
        error = "nothing to serve: --no-tcp without --serial";
        return false;
    }
    return true;
}

std::string usage_text()
{
    auto describe = [](std::string& out, const option_row& row) {
        constexpr std::size_t help_column = 32;
        std::string left = "  ";
        left.append(row.name);
        if (!row.argument.empty())
            left.append(" ").append(row.argument);
        if (left.size() < help_column)
            left.resize(help_column, ' ');
        else
            left.append("\n").append(help_column, ' ');
        out.append(left).append(row.help).append("\n");
    };
    std::string out = "Usage: hvxsim [options]\n"
                      "Simulates an HVX instrument on TCP and/or a serial pseudo-terminal.\n\n"
                      "Options:\n";
    for (const auto& row : option_table) {
        if (!row.fault_knob)
            describe(out, row);
    }
    out += "\nFault knobs:\n";
    for (const auto& row : option_table) {
        if (row.fault_knob)
            describe(out, row);
    }
    out += "  (K: only the first K attempts, then normal behaviour; default every attempt.\n"
           "  Knobs on one parameter act in the order given.)\n";
    out += "\nSweep set-ups the program checks before it starts a sweep:\n"
           "  --set 58=1                    the datalog on (58 Datalog, 0 to 2): the sweep asks to switch it off\n"
           "  --set 58=1 --reject-write 58  ... and switching it off is refused\n"
           "  --out-of-limits 18=5000       \"config,18?\" reads a step count outside 2 to 2000 (18=1 too):\n"
           "                                the sweep does not start (--set keeps 18 within its limits)\n"
           "  --reject-write 1              the operation mode (parameter 1, FRA 1, LCR 3) cannot be changed:\n"
           "                                a sweep of the other mode does not start\n";
    out += "\nInstruments (--instrument KEY):\n";
    for (const auto& preset : identity_presets()) {
        std::string left = "  " + std::string(preset.key);
        left.resize(12, ' ');
        out += left + identity_text(preset) + "  (" + std::string(preset.description) + ")\n";
        left.assign(12, ' ');
        out += left + "configuration: " +
               (preset.configuration.empty() ? std::string("none") : std::string(preset.configuration)) + "\n";
    }
    out += "\nDevices under test (--dut NAME[:k=v,...]; parameters with their defaults):\n" + dut_help_text();
    out += "\nMeasurements: \"DAV?\", \"out,on\", \"start\", \"*wai\", \"gainph,sweep?\", \"fra?\",\n"
           "\"LCR,SWEEP?\" and \"lcr?\" measure the devices at the frequencies of parameters 18, 19, 20\n"
           "and 48; values are written \"%.4E\" with a two-digit exponent (1.2345E+03).\n";
    out += "\nConfiguration: \"config,N?\" answers a choice as bare digits and a real in the form\n"
           "1.0000E3; \"config,N,V\" stores V when N accepts it and is never answered; \"*ESR?\" then\n"
           "reads 0 after accepted writes, 48 after a refused one, and clears. \"SUSPEN,ON\" and\n"
           "\"SUSPEN,OFF\" are never answered; \"config,1,1;FRA\" and \"config,1,3;LCR\" set the mode.\n"
           "Instruments without a configuration ignore the config commands.\n";
    out += "\nScreen: every instrument answers \"SCREEN?\" (monochrome: a line a pixel row, \"M:\" and\n"
           "width / 8 bytes in hexadecimal, the leftmost pixel in the least significant bit, set when\n"
           "dark) and \"SCREEN,COLOUR?\" (four lines a row, \"C0\" to \"C3\" and width / 4 characters\n"
           "0x40 + red x 16 + green x 4 + blue, levels 0 to 3); \",GROUP1\" before the \"?\" gives the\n"
           "same, \",GROUP2\" the picture's negative. The display is 512x272 on wxe5, 320x240 on the\n"
           "others. \"SUSPEND,ON\" and \"SUSPEND,OFF\" are taken like \"SUSPEN,...\"; the reset byte\n"
           "drops the rest of a reply still queued, and a line holding the byte 0x19 is not answered.\n";
    out += "\nPrints one line \"hvxsim ready tcp=ADDRESS:PORT serial=DEVICE\" (\"-\" for a transport not\n"
           "served) when ready, then serves until SIGTERM or SIGINT. Errors exit with status 2.\n";
    return out;
}

}  // namespace hvxsim
