// The link protocol against fake transports: what goes on the wire, how
// replies are framed per transport, binary replies, the receive ring, drains
// and time-outs, all on a fake clock.
#include <gtest/gtest.h>

#include <string>

#include "link/comms_log.h"
#include "link/connection.h"
#include "support/binary_values.h"
#include "support/fake_link.h"

namespace {

const std::string two_values = "1.23450E+03,2.00000E+00";  // two 11-character values

class LinkProtocol : public ::testing::Test {
protected:
    s_connection tcp_record()
    {
        s_connection conn;
        conn.interface = LINK_LAN;
        connection_set_ip_address(&conn, "127.0.0.1");
        return conn;
    }
    s_connection serial_record()
    {
        s_connection conn;
        conn.interface = LINK_SERIAL;
        connection_set_com_port(&conn, "COM5");
        conn.baud_rate = 19200;
        return conn;
    }
    void TearDown() override
    {
        s_connection any_tcp = tcp_record();
        link_set_timeout(&any_tcp, LINK_DEFAULT_TIMEOUT_MS);
    }
    fake_link_backend fake;
};

TEST_F(LinkProtocol, NoInterfaceNeverOpensAndCloseOnlyClearsOpen)
{
    s_connection conn;
    EXPECT_EQ(link_open(&conn), -1);
    conn.open = 1;
    link_close(&conn);
    EXPECT_EQ(conn.open, 0);
    EXPECT_EQ(fake.tcp.connects + fake.serial.opens, 0);
}

TEST_F(LinkProtocol, OpenSendsResetByteOnceAndReopenDoesNothing)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    EXPECT_EQ(fake.tcp.wire.sent, std::string("\x14\0", 2));
    EXPECT_EQ(link_open(&tcp), 0);
    EXPECT_EQ(fake.tcp.connects, 1);
    EXPECT_EQ(fake.tcp.wire.sent.size(), 2u);
    link_close(&tcp);
    EXPECT_FALSE(fake.tcp.is_open);
    EXPECT_EQ(fake.tcp.cleanups, 1);
    EXPECT_EQ(tcp.socket, LINK_INVALID_SOCKET);

    s_connection serial = serial_record();
    ASSERT_EQ(link_open(&serial), 0);
    EXPECT_EQ(fake.serial.wire.sent, "\x14");
    EXPECT_EQ(fake.serial.last_port, "COM5");
    EXPECT_EQ(fake.serial.last_baud, 19200);
    link_close(&serial);
    EXPECT_FALSE(fake.serial.is_open);
    EXPECT_EQ(serial.serial_handle, LINK_INVALID_HANDLE);
}

TEST_F(LinkProtocol, OpenDiscardsStrayInputAndFailsCleanly)
{
    s_connection tcp = tcp_record();
    fake.tcp.wire.arrive("stale reply\r\n");
    ASSERT_EQ(link_open(&tcp), 0);
    EXPECT_EQ(link_poll_byte(&tcp), -2);
    link_close(&tcp);

    fake.tcp.connect_ok = false;
    EXPECT_EQ(link_open(&tcp), -1);
    EXPECT_EQ(tcp.open, 0);
    EXPECT_EQ(tcp.socket, LINK_INVALID_SOCKET);
    fake.serial.open_ok = false;
    s_connection serial = serial_record();
    EXPECT_EQ(link_open(&serial), -1);
    EXPECT_EQ(serial.serial_handle, LINK_INVALID_HANDLE);
}

TEST_F(LinkProtocol, TcpCommandsCarryTheirNulSerialCommandsDoNot)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    fake.tcp.wire.sent.clear();
    EXPECT_EQ(link_send(&tcp, "*IDN?\n"), 0);
    EXPECT_EQ(fake.tcp.wire.sent, std::string("*IDN?\n\0", 7));

    s_connection serial = serial_record();
    ASSERT_EQ(link_open(&serial), 0);
    fake.serial.wire.sent.clear();
    EXPECT_EQ(link_send(&serial, "*IDN?\n"), 6);
    EXPECT_EQ(fake.serial.wire.sent, "*IDN?\n");
}

struct line_case {
    const char* name;
    std::string reply;
    int buffer_size;
    int tcp_result;
    std::string tcp_text;
    int serial_result;
    std::string serial_text;
};

TEST_F(LinkProtocol, ReplyLinesAreFramedPerTransport)
{
    const line_case cases[] = {
        {"crlf", two_values + "\r\n", 256, 23, two_values, 23, two_values},
        {"bare lf", "OK\n", 256, 2, "OK", 3, "OK\n"},
        {"empty line", "\r\n", 256, 0, "", 0, ""},
        {"cr inside", "AB\rCD\r\n", 256, 4, "ABCD", 2, "AB"},
        {"just fits", "ABCD\r\n", 5, 4, "ABCD", 4, "ABCD"},
        {"bare lf past a full buffer", "ABCD\n", 5, 4, "ABCD", 4, "ABCD"},
        // A line that does not fit is no reply at all, never a shorter one.
        {"too long", "ABCDEFGH\r\n", 5, -1, "", 0, ""},
    };
    for (const line_case& c : cases) {
        SCOPED_TRACE(c.name);
        s_connection tcp = tcp_record();
        ASSERT_EQ(link_open(&tcp), 0);
        fake.tcp.wire.arrive(c.reply + "NEXT\n");
        char buffer[256];
        EXPECT_EQ(link_read_line(&tcp, buffer, c.buffer_size), c.tcp_result);
        EXPECT_EQ(std::string(buffer), c.tcp_text);
        // The rest of an overlong line is discarded; the next line follows.
        EXPECT_EQ(link_read_line(&tcp, buffer, 256), 4);
        EXPECT_STREQ(buffer, "NEXT");
        link_close(&tcp);

        s_connection serial = serial_record();
        ASSERT_EQ(link_open(&serial), 0);
        fake.serial.wire.arrive(c.reply + "NEXT\r\n");
        EXPECT_EQ(link_read_line(&serial, buffer, c.buffer_size), c.serial_result);
        EXPECT_EQ(std::string(buffer), c.serial_text);
        EXPECT_EQ(link_read_line(&serial, buffer, 256), 4);
        EXPECT_STREQ(buffer, "NEXT");
        link_close(&serial);
    }
}

TEST_F(LinkProtocol, LinesThatCannotBeRepliesAreRefusedAndSayWhy)
{
    struct refusal_case {
        const char* name;
        std::string reply;
        bool values;  // read with link_read_values instead of link_read_line
        link_read_outcome outcome;
    };
    const refusal_case cases[] = {
        {"too long", std::string(300, 'x') + "\r\n", false, LINK_READ_TOO_LONG},
        {"one binary byte", "\x81\r\n", false, LINK_READ_SHORT_BINARY},
        {"three binary bytes", "\x81\xA0\x80\r\n", false, LINK_READ_SHORT_BINARY},
        {"binary list cut inside a value", binary_value(1.0) + "\x81\xA0\r\n", true, LINK_READ_SHORT_BINARY},
        {"binary value whose separator is the line end", binary_value(0.5).substr(0, 4) + "\n", false, LINK_READ_LINE},
        {"binary list whose last separator is the line end", binary_value(1.0) + binary_value(0.5).substr(0, 4) + "\n",
         true, LINK_READ_LINE},
    };
    for (int iface : {LINK_LAN, LINK_SERIAL}) {
        for (const refusal_case& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (iface == LINK_LAN ? " tcp" : " serial"));
            s_connection conn = iface == LINK_LAN ? tcp_record() : serial_record();
            ASSERT_EQ(link_open(&conn), 0);
            (iface == LINK_LAN ? fake.tcp.wire : fake.serial.wire).arrive(c.reply + "NEXT\r\n");
            const int failed = iface == LINK_LAN ? -1 : 0;
            char buffer[256];
            double values[8];
            const int result = c.values ? link_read_values(&conn, values, 8, false)
                                        : link_read_line(&conn, buffer, sizeof buffer);
            EXPECT_EQ(link_last_read(&conn), c.outcome);
            if (c.outcome == LINK_READ_LINE) {
                EXPECT_GT(result, 0);
            } else {
                EXPECT_EQ(result, failed);
                if (!c.values) {
                    EXPECT_STREQ(buffer, "");  // nothing left to be taken for a reply
                }
            }
            EXPECT_EQ(link_read_line(&conn, buffer, sizeof buffer), 4);
            EXPECT_STREQ(buffer, "NEXT");
            EXPECT_EQ(link_last_read(&conn), LINK_READ_LINE);
            link_close(&conn);
        }
    }
    EXPECT_EQ(link_read_failure_text(LINK_READ_TOO_LONG, 256),
              "The reply was longer than 255 characters and was discarded");
    EXPECT_EQ(link_read_failure_text(LINK_READ_TIMED_OUT, 256), "No reply");
}

// An instrument that never ends its line, fast or slow: every read ends by
// its deadline or its discard limit, and says so.
TEST_F(LinkProtocol, ReadsEndInBoundedTimeWhateverTheInstrumentSends)
{
    for (int iface : {LINK_LAN, LINK_SERIAL}) {
        SCOPED_TRACE(iface == LINK_LAN ? "tcp" : "serial");
        s_connection conn = iface == LINK_LAN ? tcp_record() : serial_record();
        fake_wire& wire = iface == LINK_LAN ? fake.tcp.wire : fake.serial.wire;
        ASSERT_EQ(link_open(&conn), 0);
        link_set_timeout(&conn, 500);
        char buffer[128];

        // One byte every 400 ms, never a line end: the per-byte timeout
        // alone would wait for ever.
        for (int i = 1; i <= 200; ++i) {
            wire.arrive("x", static_cast<std::uint64_t>(i) * 400);
        }
        std::uint64_t start = fake.clock.now;
        EXPECT_EQ(link_read_line(&conn, buffer, sizeof buffer), iface == LINK_LAN ? -1 : 0);
        EXPECT_EQ(link_last_read(&conn), LINK_READ_TIMED_OUT);
        const std::uint64_t deadline = static_cast<std::uint64_t>(link_line_deadline_ms(&conn, sizeof buffer));
        EXPECT_LE(fake.clock.now - start, deadline + 500u);
        EXPECT_GE(fake.clock.now - start, 1000u);
        wire.reset();

        // A flat-out stream without a line end: the line is too long, and
        // the read stops discarding after a bounded number of bytes.
        wire.arrive(std::string(3 * LINK_DISCARD_LIMIT, 'y'));
        EXPECT_EQ(link_read_line(&conn, buffer, sizeof buffer), iface == LINK_LAN ? -1 : 0);
        EXPECT_EQ(link_last_read(&conn), LINK_READ_TOO_LONG);
        EXPECT_GE(wire.available(), static_cast<std::size_t>(LINK_DISCARD_LIMIT));
        wire.reset();
        link_close(&conn);
    }
}

TEST_F(LinkProtocol, LineDeadlineFollowsTheTimeoutAndTheLinkSpeed)
{
    s_connection tcp = tcp_record();
    link_set_timeout(&tcp, 5000);
    EXPECT_EQ(link_line_deadline_ms(&tcp, 256), 10003);
    s_connection serial = serial_record();
    ASSERT_EQ(link_open(&serial), 0);
    link_set_timeout(&serial, 300);
    // 41920 bytes at 19200 baud take 21833 ms.
    EXPECT_EQ(link_line_deadline_ms(&serial, LINK_VALUES_BUFFER_SIZE), 600 + 21833 + 1);
    link_close(&serial);
    ASSERT_EQ(link_open(&serial), 0);  // a new open starts at the port's default
    EXPECT_EQ(link_line_deadline_ms(&serial, 0), 10001);
}

TEST_F(LinkProtocol, MissingRepliesTimeOutPerTransport)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    link_set_timeout(&tcp, 300);
    fake.tcp.wire.arrive("PART");
    char buffer[64];
    const std::uint64_t start = fake.clock.now;
    EXPECT_EQ(link_read_line(&tcp, buffer, 64), -1);
    EXPECT_STREQ(buffer, "PART");
    EXPECT_GE(fake.clock.now - start, 300u);
    EXPECT_LT(fake.clock.now - start, 400u);

    // The TCP timeout is one value for every TCP link.
    s_connection other = tcp_record();
    EXPECT_EQ(link_tcp_timeout_ms(), 300);
    link_set_timeout(&other, 5000);
    EXPECT_EQ(link_tcp_timeout_ms(), 5000);

    s_connection serial = serial_record();
    ASSERT_EQ(link_open(&serial), 0);
    link_set_timeout(&serial, 500);
    EXPECT_EQ(fake.serial.timeout_ms, 500);
    EXPECT_EQ(link_read_line(&serial, buffer, 64), 0);
    link_close(&serial);
    ASSERT_EQ(link_open(&serial), 0);
    EXPECT_EQ(fake.serial.timeout_ms, 5000);
}

TEST_F(LinkProtocol, SlowBytesStillMakeALineWithinItsDeadline)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    link_set_timeout(&tcp, 500);
    // Each byte comes 300 ms after the last: the timeout is per byte, and
    // the whole line (900 ms) ends before the line's deadline (1001 ms).
    std::uint64_t at = 0;
    for (char c : std::string("OK\n")) {
        at += 300;
        fake.tcp.wire.arrive(std::string(1, c), at);
    }
    char buffer[16];
    EXPECT_EQ(link_read_line(&tcp, buffer, 16), 2);
    EXPECT_STREQ(buffer, "OK");
}

TEST_F(LinkProtocol, BinaryReplyBecomesTextButKeepsItsLength)
{
    for (int iface : {LINK_LAN, LINK_SERIAL}) {
        SCOPED_TRACE(iface);
        s_connection conn = iface == LINK_LAN ? tcp_record() : serial_record();
        ASSERT_EQ(link_open(&conn), 0);
        fake_wire& wire = iface == LINK_LAN ? fake.tcp.wire : fake.serial.wire;
        wire.arrive(binary_value(1234.5) + "\r\n");
        char buffer[64];
        EXPECT_EQ(link_read_line(&conn, buffer, 64), 5);
        EXPECT_STREQ(buffer, "1.23450E3");
        // A buffer too small for the text still ends in a NUL.
        wire.arrive(binary_value(1234.5) + "\r\n");
        char small[6];
        EXPECT_EQ(link_read_line(&conn, small, 6), 5);
        EXPECT_STREQ(small, "1.234");
        link_close(&conn);
    }
}

TEST_F(LinkProtocol, ValueRepliesParseTextAndBinaryLists)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    double values[8] = {};

    fake.tcp.wire.arrive(two_values + "\r\n");
    EXPECT_EQ(link_read_values(&tcp, values, 8, true), 2);
    EXPECT_DOUBLE_EQ(values[0], 1234.5);
    EXPECT_DOUBLE_EQ(values[1], 2.0);

    // A 4-character decimal field ends a validated list.
    fake.tcp.wire.arrive("1.2345E+03,12.5\r\n");
    EXPECT_EQ(link_read_values(&tcp, values, 8, true), 1);
    fake.tcp.wire.arrive("1.2345E+03,12.5\r\n");
    EXPECT_EQ(link_read_values(&tcp, values, 8, false), 2);
    EXPECT_DOUBLE_EQ(values[1], 12.5);

    // A binary list keeps all its values (not just the first one's text).
    fake.tcp.wire.arrive(binary_value(0.5) + binary_value(-3.0) + binary_value(1000.0) + "\r\n");
    EXPECT_EQ(link_read_values(&tcp, values, 8, true), 3);
    EXPECT_DOUBLE_EQ(values[0], 0.5);
    EXPECT_DOUBLE_EQ(values[1], -3.0);
    EXPECT_DOUBLE_EQ(values[2], 1000.0);

    // max_count bounds what is stored.
    fake.tcp.wire.arrive("1,2,3,4,5\r\n");
    EXPECT_EQ(link_read_values(&tcp, values, 2, false), 2);

    link_set_timeout(&tcp, 100);
    EXPECT_EQ(link_read_values(&tcp, values, 8, false), -1);
}

TEST_F(LinkProtocol, ReceiveRingNeverLosesOrReordersBytes)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    // A sweep-sized value reply, then more lines than the ring holds, all at once.
    std::string reply;
    for (int i = 0; i < 3000; ++i) {
        reply += (i ? "," : "") + std::to_string(i) + ".5";
    }
    std::string lines;
    for (int i = 0; i < 100; ++i) {
        lines += std::to_string(i) + ":" + std::string(1000, static_cast<char>('a' + i % 26)) + "\r\n";
    }
    fake.tcp.wire.arrive(reply + "\r\n" + lines);
    static double values[4000];
    ASSERT_EQ(link_read_values(&tcp, values, 4000, false), 3000);
    for (int i = 0; i < 3000; ++i) {
        ASSERT_DOUBLE_EQ(values[i], i + 0.5) << i;
    }
    static char line[2048];
    for (int i = 0; i < 100; ++i) {
        const std::string expected = std::to_string(i) + ":" + std::string(1000, static_cast<char>('a' + i % 26));
        ASSERT_EQ(link_read_line(&tcp, line, sizeof line), static_cast<int>(expected.size()));
        ASSERT_EQ(std::string(line), expected);
    }
    EXPECT_EQ(link_poll_byte(&tcp), -2);
    EXPECT_LE(fake.tcp.largest_receive_request, LINK_RX_RING_SIZE);
}

TEST_F(LinkProtocol, DrainStopsEvenWhenTheInstrumentNeverStopsTalking)
{
    s_connection tcp = tcp_record();
    ASSERT_EQ(link_open(&tcp), 0);
    // An instrument that never stops: bytes are always waiting, and each
    // receive takes a millisecond of wire time.
    fake.tcp.wire.arrive(std::string(2 * 1024 * 1024, 'x'));
    fake.tcp.ms_per_receive = 1;
    const std::uint64_t start = fake.clock.now;
    link_drain(&tcp, 100);
    EXPECT_LE(fake.clock.now - start, 100u + 2000u + 20u);

    // Quiet input: a drain lasts its time and no more.
    s_connection quiet = serial_record();
    ASSERT_EQ(link_open(&quiet), 0);
    const std::uint64_t quiet_start = fake.clock.now;
    link_drain(&quiet, 100);
    EXPECT_GE(fake.clock.now - quiet_start, 100u);
    EXPECT_LE(fake.clock.now - quiet_start, 130u);
}

TEST_F(LinkProtocol, PollReportsWaitingBytesOnly)
{
    for (int iface : {LINK_LAN, LINK_SERIAL}) {
        s_connection conn = iface == LINK_LAN ? tcp_record() : serial_record();
        ASSERT_EQ(link_open(&conn), 0);
        EXPECT_EQ(link_poll_byte(&conn), -2);
        (iface == LINK_LAN ? fake.tcp.wire : fake.serial.wire).arrive("\xC1");
        EXPECT_EQ(link_poll_byte(&conn), 0xC1);
        EXPECT_EQ(link_poll_byte(&conn), -2);
        link_close(&conn);
    }
}

TEST_F(LinkProtocol, EveryCallAdvancesTheTransactionCounterOnce)
{
    s_connection tcp = tcp_record();
    const std::uint64_t before = comms_log_counter();
    ASSERT_EQ(link_open(&tcp), 0);  // the reset byte
    link_send(&tcp, "*IDN?\n");
    fake.tcp.wire.arrive("1,2\r\n");
    double values[2];
    link_read_values(&tcp, values, 2, false);
    char buffer[8];
    link_set_timeout(&tcp, 50);
    link_read_line(&tcp, buffer, 8);  // timed out: counted all the same
    link_drain(&tcp, 10);             // drains and polls are not counted
    EXPECT_EQ(comms_log_counter() - before, 4u);
}

TEST(LinkInfo, FieldsOfTheIdentity)
{
    struct info_case {
        const char* identity;
        int item;
        const char* expected;
    };
    const info_case cases[] = {
        {"ZELVORIAN,HVXA1735,10234,2.17", 1, "HVXA1735"},
        {"ZELVORIAN,HVXA1735,10234,2.17", 2, "10234"},
        {"ZELVORIAN,HVXA1735,10234,2.17", 3, "2.17"},
        {"A,B,C,D,E", 3, "D,E"},
        {"A,B", 1, "B"},
        {"A,B", 2, ""},
        {"A,B,C", 2, "C"},
        {"A,B,C", 3, ""},
        {"ABC", 1, ""},
    };
    for (const info_case& c : cases) {
        s_connection conn;
        connection_set_identity(&conn, c.identity);
        char out[128];
        link_get_info(&conn, c.item, out);
        EXPECT_STREQ(out, c.expected) << c.identity << " item " << c.item;
    }
    s_connection none;
    char out[128];
    try {
        link_get_info(&none, 1, out);
        FAIL() << "no exception";
    } catch (const NoConStrException& e) {
        EXPECT_STREQ(e.what(), "No Connection String\n");
    }
    s_connection some;
    connection_set_identity(&some, "A,B");
    EXPECT_THROW(link_get_info(&some, 1, nullptr), std::exception);
}

TEST(ConnectionRecord, FieldsAreCutToFitAndHandlesStartInvalid)
{
    s_connection conn{};
    EXPECT_EQ(conn.socket, LINK_INVALID_SOCKET);
    EXPECT_EQ(conn.serial_handle, LINK_INVALID_HANDLE);
    connection_set_com_port(&conn, "COM1234567");
    EXPECT_STREQ(conn.com_port, "COM123");
    connection_set_ip_address(&conn, "192.168.100.200.7");
    EXPECT_STREQ(conn.ip_address, "192.168.100.200");
    connection_set_identity(&conn, std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(conn.identity).size(), 127u);
}

}  // namespace
