// Runs the instrument simulator (this build's hvxsim, HVXSIM_PATH) as a
// child process for a test: started with --address ADDRESS --transcript
// <file in a temporary folder> plus the given arguments, ready once it has
// printed its ready line (the constructor waits up to 10 s and throws
// std::runtime_error, with the simulator's error output, if it fails or
// exits), stopped (SIGTERM, then kill after 5 s; TerminateProcess on
// Windows) when the fixture ends.
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
    sim_process(std::vector<std::string> extra_args, std::string address);
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
