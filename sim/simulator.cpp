#include "sim/simulator.h"

#include "sim/config_setup.h"
#include "sim/identity_presets.h"
#include "sim/pty_port.h"
#include "sim/screen_setup.h"
#include "sim/session_loop.h"
#include "sim/sweep_setup.h"

namespace hvxsim {

wire_settings wire_settings_from(const sim_options& options)
{
    wire_settings wire;
    wire.silent = options.silent;
    wire.reply_delay = std::chrono::milliseconds(options.delay_ms);
    wire.trickle_interval = std::chrono::milliseconds(options.trickle_ms);
    wire.line_end = options.bare_lf ? "\n" : "\r\n";
    if (options.stream_ms)
        wire.stream_interval = std::chrono::milliseconds(*options.stream_ms);
    wire.idle_timeout = std::chrono::seconds(options.idle_timeout_s);
    return wire;
}

std::string identity_from(const sim_options& options)
{
    if (options.idn)
        return *options.idn;
    const identity_preset* preset = find_identity_preset(options.instrument_key);
    return preset ? identity_text(*preset) : std::string();
}

simulator::~simulator()
{
    stop();
}

bool simulator::start(const sim_options& options, std::string& error)
{
    if (!options.transcript_path.empty() && !log_.open(options.transcript_path, error))
        return false;

    instrument_state initial;
    initial.identity = identity_from(options);
    initial.identity_answer_from = options.idn_from;
    if (!set_up_configuration(options, initial, error))
        return false;
    set_up_measurement(options, initial);
    if (!set_up_screen(options, initial, error))
        return false;
    device_ = std::make_unique<instrument>(std::move(initial), options.overrides);

    tcp_.wire = wire_settings_from(options);
    tcp_.refuse = options.refuse;
    // The serial port has no connect or close to bracket a stream, and no
    // connection to drop: its one session lasts as long as the simulator.
    serial_wire_ = tcp_.wire;
    serial_wire_.stream_interval.reset();
    serial_wire_.idle_timeout = std::chrono::milliseconds(0);

    if (options.tcp) {
        if (!start_sockets(error))
            return false;
        listener_ = listen_tcp(options.address, options.port, tcp_port_, error);
        if (listener_ == no_socket)
            return false;
        address_ = options.address;
    }
    if (options.serial) {
        pty_ = open_pty(options.serial_link, serial_device_, error);
        if (!pty_) {
            close_socket(listener_);
            listener_ = no_socket;
            return false;
        }
    }

    if (listener_ != no_socket)
        tcp_thread_ = std::thread([this] { serve_tcp(listener_, *device_, tcp_, log_, stop_); });
    if (pty_) {
        serial_thread_ = std::thread([this] {
            session conversation(*device_, serial_wire_, log_, "serial");
            conversation.connected(session::clock::now(), serial_device_);
            run_session(*pty_, conversation, stop_);
            conversation.closed();
        });
    }
    return true;
}

std::string simulator::ready_line() const
{
    std::string line = "hvxsim ready tcp=";
    line += listener_ != no_socket ? address_ + ":" + std::to_string(tcp_port_) : "-";
    line += " serial=";
    line += pty_ ? serial_device_ : "-";
    return line;
}

void simulator::stop()
{
    stop_ = true;
    if (tcp_thread_.joinable())
        tcp_thread_.join();
    if (serial_thread_.joinable())
        serial_thread_.join();
    close_socket(listener_);
    listener_ = no_socket;
    pty_.reset();
}

}  // namespace hvxsim
