// The link and identification through the real transports against the
// instrument simulator: loopback TCP (both builds; under Wine through
// Winsock), a pseudo-terminal on Linux, and under Wine a COM port mapped to
// the simulator's pseudo-terminal when the harness provides one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "app/user_prompt.h"
#include "link/connection.h"
#include "link/identify.h"
#include "link/serial_port_names.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"

namespace {

s_connection lan_record(const sim_process& sim)
{
    s_connection conn;
    conn.interface = LINK_LAN;
    connection_set_ip_address(&conn, sim.address().c_str());
    return conn;
}

std::string query(s_connection* conn, const char* command, int size = 256)
{
    std::string reply;
    if (link_open(conn) != 0) {
        return "<no link>";
    }
    link_send(conn, command);
    std::vector<char> buffer(static_cast<std::size_t>(size));
    if (link_read_line(conn, buffer.data(), size) > 0) {
        reply = buffer.data();
    }
    link_close(conn);
    return reply;
}

TEST(LinkOverTcp, IdentifiesEachFamilyAndLeavesTheLinkClosed)
{
    struct preset_case {
        const char* key;
        int type;
        int sub_model;
        int current_option;
    };
    const preset_case cases[] = {
        {"hvxa", 7, 0, 2},
        {"hvxab", 7, 0, 0},
        {"hvxcm", 9, 3, 0},
        {"hvxc", 9, 2, 0},
    };
    int n = 0;
    for (const preset_case& c : cases) {
        SCOPED_TRACE(c.key);
        sim_process sim({"--instrument", c.key}, "127.0.0." + std::to_string(80 + n++));
        s_connection conn = lan_record(sim);
        recording_prompt prompt;
        ASSERT_TRUE(identify_instrument(prompt, &conn)) << prompt.messages.back().text;
        EXPECT_EQ(conn.instrument_type, c.type);
        EXPECT_EQ(conn.sub_model, c.sub_model);
        EXPECT_EQ(conn.current_option, c.current_option);
        EXPECT_EQ(conn.open, 0);
        EXPECT_EQ(prompt.messages.back().text, std::string("The connection was successful\n") + conn.identity);
        // On the wire: the reset byte after the open, again before asking, then one request.
        EXPECT_EQ(sim.commands(), (std::vector<std::string>{"*IDN?"}));
        // However the bytes were split into receives on the simulator's side.
        std::string received;
        for (const std::string& chunk : sim.inputs()) received += chunk;
        EXPECT_EQ(received, "\\x14\\0\\x14\\0*IDN?\\n\\0");
    }
}

TEST(LinkOverTcp, LateAndRefusingInstruments)
{
    {
        sim_process sim({"--idn-from", "3"}, "127.0.0.85");
        s_connection conn = lan_record(sim);
        recording_prompt prompt;
        EXPECT_TRUE(identify_instrument(prompt, &conn));
        EXPECT_EQ(sim.commands().size(), 3u);
    }
    {
        sim_process sim({"--idn", "zelvorian,HVXA1735,10234,2.17"}, "127.0.0.86");
        s_connection conn = lan_record(sim);
        recording_prompt prompt;
        EXPECT_FALSE(identify_instrument(prompt, &conn));
        EXPECT_EQ(prompt.messages.back().text, "The connection failed");
        EXPECT_EQ(sim.commands().size(), 5u);
    }
    {
        // Nothing listens on this address: the open fails at once.
        refused_endpoint nobody("127.0.0.87", LINK_TCP_PORT);
        s_connection conn;
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, nobody.address().c_str());
        recording_prompt prompt;
        EXPECT_FALSE(identify_instrument(prompt, &conn));
        EXPECT_EQ(prompt.messages.back().text, "Failed to connect to IP address " + nobody.address());
    }
}

TEST(LinkOverTcp, RepliesOfEveryShape)
{
    sim_process sim({"--raw-reply", "two?=1.23450E+03,2.00000E+00", "--binary-reply", "bin?=0.5,-3,1000",
                     "--big-reply", "big?=12000"},
                    "127.0.0.88");
    s_connection conn = lan_record(sim);
    EXPECT_EQ(query(&conn, "two?\n"), "1.23450E+03,2.00000E+00");
    EXPECT_EQ(query(&conn, "bin?\n"), "5.00000E-1");

    ASSERT_EQ(link_open(&conn), 0);
    double values[16];
    link_send(&conn, "bin?\n");
    ASSERT_EQ(link_read_values(&conn, values, 16, true), 3);
    EXPECT_DOUBLE_EQ(values[1], -3.0);
    link_send(&conn, "two?\n");
    EXPECT_EQ(link_read_values(&conn, values, 16, true), 2);
    // A reply larger than the receive ring arrives whole.
    link_send(&conn, "big?\n");
    char big[16384];
    EXPECT_EQ(link_read_line(&conn, big, sizeof big), 12000);
    link_close(&conn);
    EXPECT_EQ(sim.commands(), (std::vector<std::string>{"two?", "bin?", "bin?", "two?", "big?"}));
}

TEST(LinkOverTcp, OpeningAStreamingInstrumentStillReturns)
{
    sim_process sim({"--stream-ms", "0"}, "127.0.0.89");
    s_connection conn = lan_record(sim);
    ASSERT_EQ(link_open(&conn), 0);
    link_close(&conn);
}

#ifndef _WIN32
TEST(LinkOverSerial, IdentifiesThroughAPseudoTerminal)
{
    sim_process sim({"--no-tcp", "--serial", "--instrument", "hvxc", "--bare-lf"}, "127.0.0.90");
    serial_port_alias("COM42", sim.serial_device());
    s_connection conn;
    conn.interface = LINK_USB;
    conn.baud_rate = 19200;
    connection_set_com_port(&conn, "COM42");
    recording_prompt prompt;
    ASSERT_TRUE(identify_instrument(prompt, &conn)) << prompt.messages.back().text;
    EXPECT_EQ(conn.instrument_type, 9);
    // A serial reply that ends in a bare line feed keeps it.
    EXPECT_EQ(std::string(conn.identity).back(), '\n');
    EXPECT_EQ(sim.commands(), (std::vector<std::string>{"*IDN?"}));
    serial_port_alias("COM42", "");
}
#endif

// Under Wine the harness maps a COM port to a simulator's pseudo-terminal.
TEST(LinkOverSerial, IdentifiesThroughAMappedComPort)
{
    const char* port = std::getenv("CORVEXA2_TEST_COM");
    if (!port || !*port) {
        GTEST_SKIP() << "CORVEXA2_TEST_COM names no COM port mapped to a simulator";
    }
    s_connection conn;
    conn.interface = LINK_SERIAL;
    conn.baud_rate = 19200;
    connection_set_com_port(&conn, port);
    recording_prompt prompt;
    ASSERT_TRUE(identify_instrument(prompt, &conn)) << prompt.messages.back().text;
    EXPECT_EQ(conn.instrument_type, 7);
    EXPECT_EQ(query(&conn, "*IDN?\n"), conn.identity);
}

}  // namespace
