// The Win32 serial transport on a real port. It needs a peer that answers:
// set CORVEXA2_TEST_COM to a COM port (under Wine, a dosdevices link to a
// pseudo-terminal) whose far end echoes bytes or runs the instrument
// simulator. Without it the test is skipped.
#ifdef _WIN32

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "link/transport.h"

namespace {

TEST(TransportSerialWin32, TalksToThePortNamedByTheEnvironment)
{
    const char* port = std::getenv("CORVEXA2_TEST_COM");
    if (port == nullptr || port[0] == '\0') GTEST_SKIP() << "CORVEXA2_TEST_COM names no port";
    serial_transport& serial = platform_serial_transport();

    link_handle_t h = LINK_INVALID_HANDLE;
    ASSERT_EQ(serial.open(port, 19200, &h), 0);
    link_handle_t second = LINK_INVALID_HANDLE;
    EXPECT_EQ(serial.open(port, 19200, &second), -1);
    EXPECT_EQ(second, LINK_INVALID_HANDLE);

    // Discard anything left over, then a short read timeout runs out.
    unsigned char byte = 0;
    serial.set_read_timeout(h, 50);
    int leftovers = 0;
    while (serial.read_byte(h, &byte) == 1 && leftovers < 100000) ++leftovers;
    EXPECT_EQ(serial.bytes_waiting(h), 0);
    EXPECT_EQ(serial.read_byte(h, &byte), 0);

    // An echo returns the command itself, the simulator its identity; both
    // end the line with a line feed.
    const std::string command = "*IDN?\n";
    EXPECT_EQ(serial.write(h, command.data(), command.size()), static_cast<int>(command.size()));
    serial.set_read_timeout(h, 5000);
    std::string line;
    while (line.size() < 1000 && serial.read_byte(h, &byte) == 1) {
        line += static_cast<char>(byte);
        if (byte == '\n') break;
    }
    ASSERT_GE(line.size(), 2u);
    EXPECT_EQ(line.back(), '\n');
    EXPECT_GE(serial.bytes_waiting(h), 0);
    serial.close(h);

    ASSERT_EQ(serial.open(port, 19200, &h), 0);
    serial.close(h);
}

}  // namespace

#endif
