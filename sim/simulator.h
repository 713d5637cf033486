// The whole simulator as an object: the instrument, its transcript and the
// transports chosen by the options, each transport served on a thread of
// its own. main() runs one; tests may run one in-process.
#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <thread>

#include "sim/byte_channel.h"
#include "sim/instrument.h"
#include "sim/sim_options.h"
#include "sim/socket_io.h"
#include "sim/tcp_server.h"
#include "sim/transcript.h"

namespace hvxsim {

// The wire behaviour the fault knobs ask for.
wire_settings wire_settings_from(const sim_options& options);

// The identity text the options choose (--idn, else the preset's).
std::string identity_from(const sim_options& options);

class simulator {
public:
    simulator() = default;
    ~simulator();
    simulator(const simulator&) = delete;
    simulator& operator=(const simulator&) = delete;

    // Opens the transcript, the TCP listener and the pty the options ask
    // for and starts serving. False with a message in error when any of
    // them fails (nothing is left running then).
    bool start(const sim_options& options, std::string& error);

    // "hvxsim ready tcp=ADDRESS:PORT serial=DEVICE", "-" for what is not served.
    std::string ready_line() const;
    int tcp_port() const { return tcp_port_; }
    const std::string& serial_device() const { return serial_device_; }
    instrument& device() { return *device_; }

    // Stops serving and waits for the transport threads. Idempotent.
    void stop();

private:
    std::atomic<bool> stop_{false};
    transcript log_;
    std::unique_ptr<instrument> device_;
    tcp_behaviour tcp_;
    wire_settings serial_wire_;
    std::string address_;
    socket_handle listener_ = no_socket;
    int tcp_port_ = 0;
    std::unique_ptr<byte_channel> pty_;
    std::string serial_device_;
    std::thread tcp_thread_;
    std::thread serial_thread_;
};

}  // namespace hvxsim
