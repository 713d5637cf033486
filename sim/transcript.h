// The time-stamped record of everything on the wire, one record per line
// (LF line ends; a diagnostic file for tests and people, not for the
// program):
//
//   <seconds since start, 3 decimals> <channel> <event> [<data>]
//
// channel is tcp#N (N counts TCP connections from 1) or serial; event is
// CONNECT, DROP, CLOSE, IN, OUT, CMD, NOTE or RESET. IN and OUT carry the
// bytes of one read or write (of an endless reply only its first write),
// CMD the command line without framing bytes, NOTE what the instrument or
// the session made of the input (a configuration value stored or refused,
// a fault knob at work, a bound reached), all as a C-escaped text in double
// quotes (see c_escape.h); CONNECT may carry the peer's address; RESET and
// CLOSE carry nothing. DROP comes just before the CLOSE of a connection the
// simulator ended itself and carries why: idle (nothing came from the
// client for the idle time) or not-reading (the client took no byte of a
// reply for that long). Example:
//
//   0.412 tcp#3 IN "*IDN?\n\0"
//   0.412 tcp#3 CMD "*IDN?"
//   0.413 tcp#3 OUT "ZELVORIAN,HVXA1735,10234,2.17\r\n"
//   0.520 tcp#3 CMD "config,49,20"
//   0.520 tcp#3 NOTE "config 49 (Amplitude): 20 is outside 0 to 10, ESR 48"
//
// The file is opened for appending and each record is flushed as written,
// so a reader sees it at once and nothing is lost if the simulator is
// killed. Without a file every call does nothing. Thread-safe.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>

namespace hvxsim {

class transcript {
public:
    transcript();
    ~transcript();
    transcript(const transcript&) = delete;
    transcript& operator=(const transcript&) = delete;

    // Opens (creating or appending to) the file. False with a message in
    // error when it cannot be opened.
    bool open(const std::string& path, std::string& error);

    void connect(std::string_view channel, std::string_view peer);
    void drop(std::string_view channel, std::string_view reason);
    void close(std::string_view channel);
    void in(std::string_view channel, std::string_view bytes);
    void out(std::string_view channel, std::string_view bytes);
    void command(std::string_view channel, std::string_view line);
    void note(std::string_view channel, std::string_view text);
    void reset(std::string_view channel);

private:
    void record(std::string_view channel, std::string_view event, std::string_view data);
    void quoted_record(std::string_view channel, std::string_view event, std::string_view bytes);

    std::mutex mutex_;
    std::FILE* file_ = nullptr;  // guarded by mutex_
    std::atomic<bool> enabled_{false};  // a file is open; spares escaping when not
    const std::chrono::steady_clock::time_point start_;
};

}  // namespace hvxsim
