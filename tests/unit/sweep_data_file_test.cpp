// Sweep data files byte for byte: the time stamp, the rows of each kind of
// sweep, CR LF between lines and none after the last, and the real-time file
// that starts afresh instead of growing an old one. The expected bytes are
// the same in both builds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <limits>
#include <memory>
#include <string>

#include "app/path_text.h"
#include "fra/lcr_layout.h"
#include "fra/sweep_data_file.h"
#include "fra/sweep_rows.h"
#include "fra/sweep_time_stamp.h"
#include "support/temp_folder.h"

namespace {

const s_utc_time stored_at{2019, 3, 26, 14, 5, 9};
const char* const stamp = "26-03-2019 - 14:05:09";

std::string file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Three two-channel points; point i has frequency 10^(i+2).
std::unique_ptr<s_fra_sweep> three_point_sweep()
{
    auto block = make_fra_sweep();
    block->points = 3;
    for (int i = 0; i < 3; ++i) {
        const double f = std::pow(10.0, i + 2);
        block->point[i] = {f, 0.5, 0.25, -6.0206, -45.0 * (i + 1), 1.25e-3 / (i + 1), 0.7, 8, 90, 1e-5};
    }
    return block;
}

const char* const three_point_rows[] = {
    "1\t100.0000\t5.00000E-001\t2.50000E-001\t-6.02060E+000\t-4.50000E+001\t1.25000E-003",
    "2\t1000.0000\t5.00000E-001\t2.50000E-001\t-6.02060E+000\t-9.00000E+001\t6.25000E-004",
    "3\t10000.0000\t5.00000E-001\t2.50000E-001\t-6.02060E+000\t-1.35000E+002\t4.16667E-004",
};

std::string three_point_file()
{
    return std::string(stamp) + "\r\n" + three_point_rows[0] + "\r\n" + three_point_rows[1] + "\r\n" +
           three_point_rows[2];
}

TEST(SweepDataFile, CompletedTwoChannelSweepHasFourLinesAndNoFinalLineEnd)
{
    temp_folder folder;
    const std::string path = sweep_file_path(folder.path(), 1);
    EXPECT_EQ(path, path_join(folder.path(), "sweep1.dat"));
    auto block = three_point_sweep();
    ASSERT_TRUE(write_fra_sweep_file(path, *block, stored_at));
    EXPECT_EQ(file_bytes(path), three_point_file());

    // `taken` is the same moment, UTC, with the last three fields 0.
    const s_calendar_time& t = block->taken;
    EXPECT_EQ(t.second, 9);
    EXPECT_EQ(t.minute, 5);
    EXPECT_EQ(t.hour, 14);
    EXPECT_EQ(t.day_of_month, 26);
    EXPECT_EQ(t.month_index, 2);
    EXPECT_EQ(t.years_since_1900, 119);
    EXPECT_EQ(t.weekday + t.day_of_year + t.daylight, 0);

    // A new single sweep replaces the file.
    block->points = 2;
    ASSERT_TRUE(write_fra_sweep_file(path, *block, stored_at));
    EXPECT_EQ(file_bytes(path), std::string(stamp) + "\r\n" + three_point_rows[0] + "\r\n" + three_point_rows[1]);
}

TEST(SweepDataFile, ThreeChannelRowsFollowTheBlocksOwnHeader)
{
    temp_folder folder;
    const std::string path = folder.file("sweep2.dat");
    auto block = three_point_sweep();
    block->points = 1;
    block->is_type9 = 1;
    block->channels = 3;
    ASSERT_TRUE(write_fra_sweep_file(path, *block, stored_at));
    EXPECT_EQ(file_bytes(path), std::string(stamp) + "\r\n" + three_point_rows[0] +
                                    "\t7.00000E-001\t8.00000E+000\t9.00000E+001\t1.00000E-005");

    // Channels 3 on a block not taken from a type-9 instrument is two-channel.
    block->is_type9 = 0;
    ASSERT_TRUE(write_fra_sweep_file(path, *block, stored_at));
    EXPECT_EQ(file_bytes(path), std::string(stamp) + "\r\n" + three_point_rows[0]);
}

TEST(SweepDataFile, LcrRowsCarryTheValuesOfTheLayout)
{
    s_lcr_result point{};
    for (int i = 0; i < LCR_RESULT_VALUES; ++i) {
        point.value[i] = (i + 1) * 1.5;
    }
    struct row_case {
        int layout;
        const char* row;
    };
    const row_case cases[] = {
        {LCR_LAYOUT_IMPEDANCE, "4\t1.5000\t3.00000E+000\t4.50000E+000\t6.00000E+000\t7.50000E+000"},
        {LCR_LAYOUT_BASIC,
         "4\t1.5000\t3.00000E+000\t4.50000E+000\t6.00000E+000\t7.50000E+000\t9.00000E+000\t1.05000E+001"
         "\t1.20000E+001"},
        {LCR_LAYOUT_FULL,
         "4\t1.5000\t3.00000E+000\t4.50000E+000\t6.00000E+000\t7.50000E+000\t9.00000E+000\t1.05000E+001"
         "\t1.20000E+001\t1.35000E+001\t1.50000E+001\t1.65000E+001\t1.80000E+001\t1.95000E+001"},
    };
    for (const row_case& c : cases) {
        EXPECT_EQ(lcr_sweep_row(4, point, c.layout), c.row) << "layout " << c.layout;
    }
    // A real-time LCR row is always eight values.
    EXPECT_EQ(lcr_realtime_row(4, point), cases[1].row);

    temp_folder folder;
    const std::string path = folder.file("sweep1.dat");
    auto block = make_lcr_sweep();
    block->points = 2;
    block->point[0] = point;
    block->point[1] = point;
    ASSERT_TRUE(write_lcr_sweep_file(path, *block, LCR_LAYOUT_IMPEDANCE, stored_at));
    const std::string row_tail = "\t1.5000\t3.00000E+000\t4.50000E+000\t6.00000E+000\t7.50000E+000";
    EXPECT_EQ(file_bytes(path), std::string(stamp) + "\r\n1" + row_tail + "\r\n2" + row_tail);
    EXPECT_EQ(block->taken.years_since_1900, 119);
}

TEST(SweepDataFile, FieldsKeepTheirWidthsForAnyValue)
{
    s_fra_result point{};
    point.frequency = 1e20;
    point.magnitude1 = std::numeric_limits<double>::quiet_NaN();
    point.magnitude2 = -std::numeric_limits<double>::infinity();
    point.gain = 1e-300;
    EXPECT_EQ(fra_sweep_row(2000, point, false),
              "2000\t100000000000000000000.0000\tNAN\t-INF\t1.00000E-300\t0.00000E+000\t0.00000E+000");
    point.frequency = std::numeric_limits<double>::infinity();
    EXPECT_EQ(fra_sweep_row(1, point, false).substr(0, 6), "1\tinf\t");

    // The year is space-padded to four places, never cut or zero-padded.
    const struct {
        s_utc_time utc;
        const char* text;
    } stamps[] = {
        {{2019, 3, 26, 14, 5, 9}, "26-03-2019 - 14:05:09"},
        {{999, 12, 1, 0, 0, 0}, "01-12- 999 - 00:00:00"},
        {{12345, 1, 31, 23, 59, 59}, "31-01-12345 - 23:59:59"},
    };
    for (const auto& s : stamps) {
        EXPECT_EQ(sweep_time_stamp(calendar_time_from_utc(s.utc)), s.text);
    }
}

TEST(SweepDataFile, RealTimeFileStartsAfreshAndMatchesTheCompletedFile)
{
    temp_folder folder;
    const std::string path = folder.file("sweep1.dat");
    // An earlier sweep's file: the new one must not grow it.
    {
        std::ofstream old(path, std::ios::binary);
        old << "01-01-2018 - 00:00:00\r\n1\t5.0000\t1.00000E+000";
    }
    auto block = three_point_sweep();
    s_calendar_time taken{};
    for (int i = 0; i < 3; ++i) {
        const std::string row = fra_sweep_row(i + 1, block->point[i], false);
        EXPECT_TRUE(add_realtime_sweep_row(path, row, i == 0, taken, stored_at));
    }
    EXPECT_EQ(file_bytes(path), three_point_file());
    EXPECT_EQ(taken.hour, 14);
    EXPECT_EQ(taken.years_since_1900, 119);
}

TEST(SweepDataFile, AFileThatCannotBeWrittenLeavesTheSweepAlone)
{
    temp_folder folder;
    const std::string path = path_join(folder.file("missing-folder"), "sweep1.dat");
    auto block = three_point_sweep();
    EXPECT_FALSE(write_fra_sweep_file(path, *block, stored_at));
    EXPECT_EQ(block->taken.day_of_month, 26);  // `taken` is set all the same
    EXPECT_EQ(block->points, 3);

    s_calendar_time taken{};
    EXPECT_FALSE(add_realtime_sweep_row(path, "1\t1.0000", true, taken, stored_at));
    EXPECT_EQ(taken.day_of_month, 26);

    // A block whose count says more than it can hold writes what it holds.
    block->points = 5000;
    const std::string text = fra_sweep_file_text(*block);
    EXPECT_EQ(static_cast<int>(std::count(text.begin(), text.end(), '\n')), SWEEP_MAX_POINTS);
}

}  // namespace
