// Splits the received byte stream into command lines and reset requests.
// Knows nothing about commands.
//
//   NUL        dropped (TCP clients send one after every command)
//   0x14       reset: the partial line is discarded; reported as an event
//   LF         ends a line; one CR right before it is removed
//   other      appended to the partial line
//
// Empty lines are not reported. A line longer than max_line_length is
// discarded whole, never run cut short: the overlong event is reported once
// when it grows past the bound, and every byte up to its LF (or a reset) is
// dropped, so a client sending megabytes without a line end costs no more
// than max_line_length bytes of memory.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace hvxsim {

inline constexpr char reset_byte = 0x14;

struct framer_event {
    enum class kind { command, reset, overlong };
    kind type;
    std::string line;  // the command line for kind::command
};

class line_framer {
public:
    static constexpr std::size_t max_line_length = 65536;

    // Consumes bytes and returns the events they complete, in order.
    std::vector<framer_event> feed(std::string_view bytes);

    // Drops the partial line (used when the connection's input is reset).
    void clear()
    {
        partial_.clear();
        discarding_ = false;
    }

private:
    std::string partial_;
    bool discarding_ = false;  // inside an overlong line, until its LF
};

}  // namespace hvxsim
