// Runs the instrument simulator (this build's hvxsim, HVXSIM_PATH) as a
// child process for a test: started with --address ADDRESS --transcript
// <file in a temporary folder> plus the given arguments, ready once it has
// printed its ready line (the constructor waits up to 10 s and throws
// std::runtime_error, with the simulator's error output, if it fails or
// exits), stopped (SIGTERM, then kill after 5 s; TerminateProcess on
// Windows) when the fixture ends.
//
// ADDRESS is where the simulator starts looking: when it cannot listen
// there because the address is in use (anything else on the machine, or a
// connection of an earlier simulator still closing), it is started again on
// the next loopback address (support/loopback_address.h). address() and the
// ready line tell where it listens.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "support/temp_folder.h"

class sim_process {
public:
    enum class address_choice {
        next_free,  // move on to the next address while the address is in use
        exactly,    // this address or a failure (tests of the failure itself)
    };

    sim_process(std::vector<std::string> extra_args, std::string address,
                address_choice choice = address_choice::next_free);
    ~sim_process();
    sim_process(const sim_process&) = delete;
    sim_process& operator=(const sim_process&) = delete;

    const std::string& address() const { return address_; }
    // The TCP port from the ready line (0 with --no-tcp).
    int port() const { return port_; }
    // The pty slave device (POSIX, with --serial); "" otherwise.
    const std::string& serial_device() const { return serial_device_; }
    const std::string& ready_line() const { return ready_line_; }
    const std::string& transcript_path() const { return transcript_path_; }

    // The transcript file as it is now.
    std::string transcript() const;
    // Polls until some transcript line contains substring; false if the
    // timeout passes first.
    bool wait_for_transcript(const std::string& substring,
                             std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;
    // The data of every CMD record in order, without the quotes (bytes
    // outside printable ASCII stay escaped as the transcript has them).
    std::vector<std::string> commands() const;
    // The same for OUT records.
    std::vector<std::string> outputs() const;
    // The same for NOTE records (what the instrument made of a command).
    std::vector<std::string> notes() const;
    // The same for IN records (the bytes of each receive, as they came).
    std::vector<std::string> inputs() const;

    // Stops the simulator now (as the destructor would) and returns its
    // exit status: the exit code, or -1 when it had to be killed.
    int stop();

private:
    std::vector<std::string> records(const std::string& event) const;
    void wait_for_ready_line(const std::vector<std::string>& args);
    std::string error_output() const;
    // True when the last start failed only because address_ was in use.
    bool address_was_in_use() const;

    temp_folder folder_;
    std::string address_;
    std::string transcript_path_;
    std::string stderr_path_;
    std::string ready_line_;
    std::string serial_device_;
    int port_ = 0;
    bool running_ = false;
    int exit_status_ = -1;
#ifdef _WIN32
    void* process_ = nullptr;      // HANDLE
    void* stdout_read_ = nullptr;  // HANDLE
#else
    int pid_ = -1;
    int stdout_read_ = -1;
#endif
};

// A plain TCP client on loopback for talking to a simulator in tests.
// Every wait is bounded by the timeout given; failures to connect or send
// throw std::runtime_error.
class sim_client {
public:
    sim_client(const std::string& address, int port);
    ~sim_client();
    sim_client(const sim_client&) = delete;
    sim_client& operator=(const sim_client&) = delete;

    void send(std::string_view bytes);
    // Reads until the received bytes contain terminator, the peer closes
    // or the timeout passes; returns everything received (which may run
    // past the terminator when more came in the same read).
    std::string read_until(std::string_view terminator,
                           std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Reads until count bytes arrived (or the peer closes, or the timeout).
    std::string read_count(std::size_t count, std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Reads whatever arrives within the timeout (use for "nothing comes").
    std::string read_for(std::chrono::milliseconds duration);
    // True when the peer closed the connection within the timeout (bytes
    // arriving first are discarded).
    bool wait_closed(std::chrono::milliseconds timeout = std::chrono::seconds(10));
    // Ends the sending side (the peer sees end of input).
    void shutdown_send();

private:
    // One receive waiting at most ms: >0 bytes appended, 0 closed, -1 nothing yet.
    int receive_some(std::string& into, int ms);

    std::intptr_t socket_ = -1;
};

// A TCP port on loopback where connects are refused at once: this test holds
// the address and port bound without listening, so no listener elsewhere
// can take it while the test runs. Starts at first_address and moves on
// while the address and port are in use; throws std::runtime_error when
// every address of the range is.
class refused_endpoint {
public:
    refused_endpoint(std::string first_address, int port);
    ~refused_endpoint();
    refused_endpoint(const refused_endpoint&) = delete;
    refused_endpoint& operator=(const refused_endpoint&) = delete;

    const std::string& address() const { return address_; }
    int port() const { return port_; }

private:
    std::string address_;
    int port_;
    std::intptr_t socket_ = -1;
};
