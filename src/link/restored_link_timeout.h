// The link timeout in force on a record, put back when the guard goes: the
// TCP one is process-wide, a serial port's belongs to the open port. Code
// that needs a timeout of its own for a while (the monitor's short reads,
// the live readings' long ones) sets it under this guard, so the change
// never leaks into the next user of the link.
#pragma once

#include "link/connection.h"

class restored_link_timeout {
public:
    explicit restored_link_timeout(s_connection* conn)
        : conn_(conn), previous_ms_(conn->interface == LINK_LAN ? link_tcp_timeout_ms() : conn->serial_timeout_ms)
    {
    }
    ~restored_link_timeout() { link_set_timeout(conn_, previous_ms_); }
    restored_link_timeout(const restored_link_timeout&) = delete;
    restored_link_timeout& operator=(const restored_link_timeout&) = delete;

private:
    s_connection* conn_;
    int previous_ms_;
};
