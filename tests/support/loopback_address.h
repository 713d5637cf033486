// Loopback addresses for tests that listen on, or need a refusal from, a
// fixed port (the instrument's TCP port is fixed, so every simulator gets an
// address of its own). Each test names the address it starts from; when
// something else on the machine holds that address and port, the test moves
// on to the next address of a small range instead of failing.
#pragma once

#include <string>

// How many addresses a test tries, its own first, before it gives up.
inline constexpr int loopback_tries = 16;

// The address after address in 127.0.0.2 .. 127.0.0.254, wrapping round
// (127.0.0.1 stays free for whatever else the machine runs); "" when
// address is no 127.0.0.N address.
std::string next_loopback_address(const std::string& address);
