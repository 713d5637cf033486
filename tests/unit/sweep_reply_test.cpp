// Sweep reply lines turned into points: how many values each instrument
// sends, the strict field contract, binary lines, and reading from the link.
#include <gtest/gtest.h>

#include <string>

#include "fra/lcr_layout.h"
#include "fra/sweep_reply.h"
#include "link/connection.h"
#include "support/binary_values.h"
#include "support/fake_link.h"

namespace {

// The ten values of a three-channel FRA line in the instrument's exponent form.
const std::string ten_values =
    "1.0000E+03,2.0000E-01,3.0000E-01,-6.0206E+00,-4.5000E+01,1.2500E-04,"
    "7.0000E-01,8.0000E+00,9.0000E+01,1.0000E-05";

std::string first_values(int count)
{
    std::string line;
    std::size_t position = 0;
    for (int i = 0; i < count; ++i) {
        const std::size_t comma = ten_values.find(',', position);
        line += (i == 0 ? "" : ",") + ten_values.substr(position, comma - position);
        position = comma + 1;
    }
    return line;
}

s_fra_result garbage_point()
{
    return {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
}

TEST(SweepReply, ValuesPerFraLineByInstrument)
{
    struct count_case {
        int type;
        bool third_channel;
        int values;
    };
    const count_case cases[] = {{8, false, 5}, {8, true, 5}, {9, true, 10}, {9, false, 6}, {7, true, 6}, {0, false, 6}};
    for (const count_case& c : cases) {
        EXPECT_EQ(fra_sweep_line_values(c.type, c.third_channel), c.values) << "type " << c.type;
    }

    // A single reading: 6, or 10 for a third-channel type 9; type 8 may give 5.
    EXPECT_TRUE(fra_reading_count_accepted(7, false, 6));
    EXPECT_FALSE(fra_reading_count_accepted(7, false, 5));
    EXPECT_TRUE(fra_reading_count_accepted(8, false, 5));
    EXPECT_TRUE(fra_reading_count_accepted(8, false, 6));
    EXPECT_TRUE(fra_reading_count_accepted(9, true, 10));
    EXPECT_FALSE(fra_reading_count_accepted(9, true, 6));
    EXPECT_FALSE(fra_reading_count_accepted(9, false, 10));
}

TEST(SweepReply, TextLineFillsFieldsOfTheSamePositionAndZeroesTheRest)
{
    // Type 8: five values; the delay and everything after stay 0.
    s_fra_result point = garbage_point();
    const std::string five = first_values(5) + "\n";
    ASSERT_TRUE(fra_point_from_line(five.data(), five.size(), 5, point));
    EXPECT_DOUBLE_EQ(point.frequency, 1000.0);
    EXPECT_DOUBLE_EQ(point.magnitude1, 0.2);
    EXPECT_DOUBLE_EQ(point.magnitude2, 0.3);
    EXPECT_DOUBLE_EQ(point.gain, -6.0206);
    EXPECT_DOUBLE_EQ(point.phase, -45.0);
    EXPECT_EQ(point.delay, 0.0);
    EXPECT_EQ(point.delay2, 0.0);

    // Three channels: all ten.
    point = garbage_point();
    ASSERT_TRUE(fra_point_from_line(ten_values.data(), ten_values.size(), 10, point));
    EXPECT_DOUBLE_EQ(point.delay, 1.25e-4);
    EXPECT_DOUBLE_EQ(point.magnitude3, 0.7);
    EXPECT_DOUBLE_EQ(point.gain2, 8.0);
    EXPECT_DOUBLE_EQ(point.phase2, 90.0);
    EXPECT_DOUBLE_EQ(point.delay2, 1e-5);

    // At most the expected values are read from a longer line.
    point = garbage_point();
    ASSERT_TRUE(fra_point_from_line(ten_values.data(), ten_values.size(), 6, point));
    EXPECT_DOUBLE_EQ(point.delay, 1.25e-4);
    EXPECT_EQ(point.magnitude3, 0.0);
}

TEST(SweepReply, LinesThatBreakTheFieldContractAreNeverPoints)
{
    const std::string cases[] = {
        first_values(5),                                  // one value short
        first_values(5) + ",12.5",                        // a field shorter than 8 characters
        first_values(5) + ",1.2345E+0300",                // longer than 11
        first_values(5) + ",1.2.45E+03",                  // two full stops
        first_values(5) + ",12345E+003",                  // none
        first_values(2) + ",junk_text,-6.0206E+00,-4.5000E+01,1.2500E-04",  // a bad field in the middle
        "",
    };
    for (const std::string& line : cases) {
        s_fra_result point{};
        EXPECT_FALSE(fra_point_from_line(line.data(), line.size(), 6, point)) << line;
    }
    // An expected count the record cannot hold is refused, not overrun.
    s_fra_result point{};
    EXPECT_FALSE(fra_point_from_line(ten_values.data(), ten_values.size(), 11, point));
    EXPECT_FALSE(fra_point_from_line(ten_values.data(), ten_values.size(), 0, point));
}

TEST(SweepReply, BinaryLinesBecomePointsToo)
{
    std::string line;
    for (double v : {100.0, 0.5, 0.25, -6.0, -45.0, 0.001}) {
        line += binary_value(v);
    }
    s_fra_result point = garbage_point();
    ASSERT_TRUE(fra_point_from_line(line.data(), line.size(), 6, point));
    EXPECT_DOUBLE_EQ(point.frequency, 100.0);
    EXPECT_DOUBLE_EQ(point.phase, -45.0);
    EXPECT_NEAR(point.delay, 0.001, 1e-9);  // 20 mantissa bits
    EXPECT_EQ(point.magnitude3, 0.0);

    // A line cut inside its last value holds one value too few.
    const std::string cut = line.substr(0, line.size() - 3);
    EXPECT_FALSE(fra_point_from_line(cut.data(), cut.size(), 6, point));

    // LCR lines: the values of the layout.
    s_lcr_result lcr{};
    const std::string five = line.substr(0, 5 * 5);
    EXPECT_TRUE(lcr_point_from_line(five.data(), five.size(), LCR_LAYOUT_ADMITTANCE, lcr));
    EXPECT_DOUBLE_EQ(lcr.value[4], -45.0);
    EXPECT_FALSE(lcr_point_from_line(five.data(), five.size(), LCR_LAYOUT_BASIC, lcr));
}

TEST(SweepReply, LcrLineTakesTheValuesOfItsLayout)
{
    std::string thirteen;
    for (int i = 1; i <= 13; ++i) {
        thirteen += (i == 1 ? "" : ",") + std::to_string(i) + ".000E+00";  // 9 or 10 characters
    }
    s_lcr_result point{};
    for (double& v : point.value) {
        v = -1;
    }
    ASSERT_TRUE(lcr_point_from_line(thirteen.data(), thirteen.size(), LCR_LAYOUT_FULL, point));
    EXPECT_DOUBLE_EQ(point.value[12], 13.0);

    ASSERT_TRUE(lcr_point_from_line(thirteen.data(), thirteen.size(), LCR_LAYOUT_BASIC, point));
    EXPECT_DOUBLE_EQ(point.value[7], 8.0);
    EXPECT_EQ(point.value[8], 0.0);  // beyond the layout's values

    const std::string seven = thirteen.substr(0, thirteen.find(",8."));
    EXPECT_FALSE(lcr_point_from_line(seven.data(), seven.size(), LCR_LAYOUT_BASIC, point));
}

TEST(SweepReply, ReadsPointsFromTheLink)
{
    fake_link_backend fake;
    s_connection conn;
    conn.interface = LINK_LAN;
    connection_set_ip_address(&conn, "127.0.0.1");
    ASSERT_EQ(link_open(&conn), 0);

    fake.tcp.wire.arrive(first_values(6) + "\r\n" + first_values(4) + "\r\n" + first_values(5) + "\r\n");
    s_fra_result point{};
    EXPECT_TRUE(read_fra_point(&conn, 6, point));
    EXPECT_DOUBLE_EQ(point.delay, 1.25e-4);
    EXPECT_FALSE(read_fra_point(&conn, 6, point));
    s_lcr_result lcr{};
    EXPECT_TRUE(read_lcr_point(&conn, LCR_LAYOUT_IMPEDANCE, lcr));
    EXPECT_DOUBLE_EQ(lcr.value[3], -6.0206);

    link_set_timeout(&conn, 50);  // nothing more arrives
    EXPECT_FALSE(read_fra_point(&conn, 6, point));
    link_set_timeout(&conn, LINK_DEFAULT_TIMEOUT_MS);
    link_close(&conn);
}

}  // namespace
