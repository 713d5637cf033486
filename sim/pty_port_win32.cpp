#include "sim/pty_port.h"

namespace hvxsim {

std::unique_ptr<byte_channel> open_pty(const std::string&, std::string&, std::string& error)
{
    error = "--serial is not available in the Windows build (it needs a pseudo-terminal)";
    return nullptr;
}

}  // namespace hvxsim
