// Native handle types of the two transports, kept apart from <windows.h> so
// that the connection record can be used everywhere in the core.
#pragma once

#include <cstdint>

#ifdef _WIN32
using link_socket_t = std::uintptr_t;   // SOCKET
using link_handle_t = void*;            // HANDLE
inline const link_socket_t LINK_INVALID_SOCKET = ~static_cast<std::uintptr_t>(0);
inline link_handle_t const LINK_INVALID_HANDLE = reinterpret_cast<void*>(~static_cast<std::uintptr_t>(0));
#else
using link_socket_t = int;              // file descriptor of the socket
using link_handle_t = int;              // file descriptor of the serial device
inline constexpr link_socket_t LINK_INVALID_SOCKET = -1;
inline constexpr link_handle_t LINK_INVALID_HANDLE = -1;
#endif
