// The simulator's serial port: a pseudo-terminal whose slave side plays the
// instrument's COM port for the client (POSIX builds only; the Windows
// build reports that it has none).
//
// The simulator keeps its own descriptor on the slave open for its whole
// life. Without it the master sees EIO and hang-ups whenever no client has
// the port open, which happens constantly: enumerating serial ports opens
// and closes every one of them. The slave is set to raw mode (no echo, no
// line editing, no CR/LF translation) through that descriptor.
#pragma once

#include <memory>
#include <string>

#include "sim/byte_channel.h"

namespace hvxsim {

// Opens a pty and returns its master side as a channel; device_path gets
// the slave's path. With a non-empty link_path a symbolic link link_path ->
// device is made (replacing an existing link) and removed again when the
// channel ends, if it still points there. nullptr with a message in error
// on failure.
std::unique_ptr<byte_channel> open_pty(const std::string& link_path, std::string& device_path, std::string& error);

}  // namespace hvxsim
