// The analyses' input files: the views' sweep data files read back (their
// time stamp line passed over), and import files as the impedance views read
// them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "fra/analysis_input.h"
#include "fra/lcr_layout.h"
#include "fra/sweep_data_file.h"
#include "support/file_bytes.h"
#include "support/temp_folder.h"

namespace {

const s_utc_time stamp_time{2026, 12, 10, 9, 30, 5};

TEST(AnalysisInput, RecognisesOnlyTheTimeStampForm)
{
    EXPECT_TRUE(is_sweep_time_stamp_line("26-03-2019 - 14:05:09"));
    for (const char* line : {"", "26-03-2019 - 14:05:0", "26-03-2019 - 14:05:09 ", "26-03-2019 14:05:09  ",
                             "2a-03-2019 - 14:05:09", "1\t1000.0000\t1.0E+000", "Index\tFrequency"}) {
        EXPECT_FALSE(is_sweep_time_stamp_line(line)) << line;
    }
}

TEST(AnalysisInput, AnFraSweepDataFileReadsBackAsWritten)
{
    temp_folder folder;
    for (const int channels : {2, 3}) {
        auto written = make_fra_sweep();
        written->channels = channels;
        written->is_type9 = channels == 3 ? 1 : 0;
        written->points = 3;
        for (int i = 0; i < 3; ++i) {
            s_fra_result& p = written->point[i];
            p = {100.0 * (i + 1), 1.5, 0.75, -6.0206 * i, -45.5 * i, 1e-4, 0.25, 3.0 - i, 10.0 * i, 2e-5};
        }
        const std::string path = folder.file("fra" + std::to_string(channels) + ".dat");
        ASSERT_TRUE(write_fra_sweep_file(path, *written, stamp_time));
        auto read = make_fra_sweep();
        const sweep_import_result result = import_fra_sweep_data_file(path, *read);
        ASSERT_EQ(result.status, sweep_import_status::imported) << channels;
        ASSERT_EQ(read->points, 3);
        EXPECT_EQ(read->channels, channels);
        const int values = channels == 3 ? FRA_RESULT_VALUES : 6;
        for (int i = 0; i < 3; ++i) {
            for (int v = 0; v < values; ++v) {
                const double want = written->point[i].*fra_result_fields[v];
                EXPECT_NEAR(read->point[i].*fra_result_fields[v], want, 1e-5 * std::abs(want)) << i << " " << v;
            }
        }
    }
}

TEST(AnalysisInput, FraFileFaultsNameTheirLineCountingTheTimeStamp)
{
    temp_folder folder;
    struct fault_case {
        const char* bytes;
        sweep_import_status status;
        int line;
        int column;
    };
    const fault_case cases[] = {
        {"10-12-2026 - 09:30:05\r\n1\t100\t1\t1\t0\t0\t0\r\n2\t200\t1\t1\n", sweep_import_status::unknown_layout, 3, 0},
        {"10-12-2026 - 09:30:05\r\n1\t100\t1\t1\tnan\t0\t0", sweep_import_status::not_finite, 2, 5},
        {"1\t100\t1\t1\t0\t0\t1e999\n", sweep_import_status::not_finite, 1, 7},
        {"1\t100\t1\t1\t0\t0\tx\n", sweep_import_status::not_finite, 1, 7},
        {"Frequency,Gain\n100,1\n", sweep_import_status::unknown_layout, 1, 0},
    };
    for (const fault_case& c : cases) {
        const std::string path = folder.file("fault.dat");
        write_bytes(path, c.bytes);
        auto block = make_fra_sweep();
        const sweep_import_result result = import_fra_sweep_data_file(path, *block);
        EXPECT_EQ(result.status, c.status) << c.bytes;
        EXPECT_EQ(result.line, c.line) << c.bytes;
        EXPECT_EQ(result.column, c.column) << c.bytes;
        EXPECT_EQ(block->points, 0) << c.bytes;
    }
    auto block = make_fra_sweep();
    EXPECT_EQ(import_fra_sweep_data_file(folder.path(), *block).status, sweep_import_status::is_folder);
    EXPECT_EQ(import_fra_sweep_data_file(folder.file("missing.dat"), *block).status, sweep_import_status::cannot_open);
}

TEST(AnalysisInput, AnLcrSweepDataFileAndAnImportFileGiveTheSamePoints)
{
    temp_folder folder;
    auto written = make_lcr_sweep();
    written->points = 2;
    written->point[0] = {{1000, 50, -20, 53.85, -21.8}};
    written->point[1] = {{2000, 45, -12, 46.57, -14.9}};
    const std::string data_file = folder.file("sweep1.dat");
    ASSERT_TRUE(write_lcr_sweep_file(data_file, *written, LCR_LAYOUT_IMPEDANCE, stamp_time));
    const std::string import_file = folder.file("export.txt");
    write_bytes(import_file, "Index\tFrequency\tZ Real\tZ Quadrature\t|Z|\tPhase\r\n"
                             "1\t1000\t50\t-20\t53.85\t-21.8\r\n2\t2000\t45\t-12\t46.57\t-14.9\r\n");
    for (const std::string& path : {data_file, import_file}) {
        auto read = make_lcr_sweep();
        int layout = 0;
        ASSERT_EQ(import_lcr_analysis_file(path, *read, layout).status, sweep_import_status::imported) << path;
        EXPECT_EQ(layout, LCR_LAYOUT_IMPEDANCE);
        ASSERT_EQ(read->points, 2);
        for (int i = 0; i < 2; ++i) {
            for (int v = 0; v < 5; ++v) {
                EXPECT_NEAR(read->point[i].value[v], written->point[i].value[v], 1e-4) << path;
            }
        }
    }
    write_bytes(data_file, "10-12-2026 - 09:30:05\r\n1\t1000\t50\r\n");
    auto read = make_lcr_sweep();
    int layout = 0;
    const sweep_import_result result = import_lcr_analysis_file(data_file, *read, layout);
    EXPECT_EQ(result.status, sweep_import_status::unknown_layout);
    EXPECT_EQ(result.line, 2);
}

}  // namespace
