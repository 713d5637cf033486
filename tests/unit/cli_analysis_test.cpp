// The tool's analyses run as a separate process (this build's corvexa2-cli)
// on small files and databases the tests write: what they print, their exit
// statuses and messages for input they cannot use.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <fstream>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_records.h"
#include "db/db_write.h"
#include "support/file_bytes.h"
#include "support/loop_tests_database.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

using complex = std::complex<double>;

// The value printed on the line "name<TAB>value", or "" when there is none.
std::string value_of(const std::string& out, const std::string& name)
{
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(name + "\t", 0) == 0) {
            return line.substr(name.size() + 1);
        }
    }
    return "";
}

// An FRA sweep data file as "sweep fra --out" writes it: the time stamp,
// then index, frequency, the two magnitudes, gain, phase and delay per row.
std::string fra_data_file(const std::vector<std::array<double, 3>>& points)
{
    std::string text = "10-12-2026 - 09:30:05\r\n";
    char row[256];
    int index = 1;
    for (const auto& [f, gain, phase] : points) {
        std::snprintf(row, sizeof row, "%d\t%.4f\t1.0E+000\t1.0E+000\t%.5E\t%.5E\t0.0E+000\r\n", index++, f, gain,
                      phase);
        text += row;
    }
    return text;
}

// An impedance import file (index, frequency, Z', Z'', |Z|, phase) of z(f)
// at n log-spaced frequencies from low to high; header_quantity "Z" or "Y".
std::string impedance_file(const std::function<complex(double)>& z, double low, double high, int n,
                           const char* header_quantity = "Z")
{
    std::string text = std::string("Index\tFrequency\t") + header_quantity + " Real\t" + header_quantity +
                       " Quadrature\t|" + header_quantity + "|\tPhase\r\n";
    char row[256];
    for (int i = 0; i < n; ++i) {
        const double f = low * std::pow(high / low, static_cast<double>(i) / (n - 1));
        const complex v = z(f);
        std::snprintf(row, sizeof row, "%d\t%.9g\t%.9g\t%.9g\t%.9g\t%.9g\r\n", i + 1, f, v.real(), v.imag(),
                      std::abs(v), std::arg(v) * 180 / std::numbers::pi);
        text += row;
    }
    return text;
}

complex randles(double f)
{
    const complex jw(0, 2 * std::numbers::pi * f);
    return 10.0 + 100.0 / (1.0 + jw * 100.0 * 1e-5);
}

class ToolAnalysis : public ::testing::Test {
protected:
    s_tool_run tool(const std::vector<std::string>& words) { return runner.run(words); }
    std::string file(const char* name, const std::string& bytes)
    {
        const std::string path = scratch.file(name);
        write_bytes(path, bytes);
        return path;
    }

    temp_folder scratch;
    tool_runner runner;
};

TEST_F(ToolAnalysis, MarginsOfASweepFilePrintTheViewsMessagesZeroDecibelsFirst)
{
    struct margin_case {
        const char* what;
        std::vector<std::array<double, 3>> points;
        const char* out;
    };
    std::vector<std::array<double, 3>> eleven;
    for (int i = 0; i < 12; ++i) {
        eleven.push_back({100.0 * (i + 1), i % 2 == 0 ? 1.0 : -1.0, 10});
    }
    const margin_case cases[] = {
        {"a point on 0 dB counts once; linear in frequency",
         {{100, 1, 10}, {200, 0, 5}, {300, -1, -10}},
         "0dB point = freq: 200.00 phase: 5.00\n0Phase point = freq: 233.33 gain: -0.33\n"},
        {"nothing crosses", {{100, 3, -90}, {1000, 2, -100}}, "No gain 0dB point found\nNo 0 Phase point found\n"},
        {"eleven crossings list ten, then ...", eleven,
         "There were 11 0dB points found\n\n"
         "0dB point 1 =  freq: 150.00  phase: 10.00 \n0dB point 2 =  freq: 250.00  phase: 10.00 \n"
         "0dB point 3 =  freq: 350.00  phase: 10.00 \n0dB point 4 =  freq: 450.00  phase: 10.00 \n"
         "0dB point 5 =  freq: 550.00  phase: 10.00 \n0dB point 6 =  freq: 650.00  phase: 10.00 \n"
         "0dB point 7 =  freq: 750.00  phase: 10.00 \n0dB point 8 =  freq: 850.00  phase: 10.00 \n"
         "0dB point 9 =  freq: 950.00  phase: 10.00 \n0dB point 10 =  freq: 1050.00  phase: 10.00 \n"
         "...\nNo 0 Phase point found\n"},
    };
    for (const margin_case& c : cases) {
        SCOPED_TRACE(c.what);
        const s_tool_run run = tool({"margins", file("loop.dat", fra_data_file(c.points))});
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, c.out);
    }
}

TEST_F(ToolAnalysis, EisPrintsEveryFieldAndTheShownTexts)
{
    const std::string sweep = file("cell.txt", impedance_file(randles, 0.1, 100e3, 200));
    const s_tool_run run = tool({"analyze", "eis", sweep});
    ASSERT_EQ(run.status, 0) << run.err;
    for (const char* field : {"min_real_index", "arc_end_index", "peak_index", "min_real", "max_real",
                              "max_imaginary", "peak_frequency", "rs", "rp", "cp", "min_real_found",
                              "arc_end_found", "peak_found"}) {
        EXPECT_NE(value_of(run.out, field), "") << field;
    }
    EXPECT_NEAR(std::strtod(value_of(run.out, "rs").c_str(), nullptr), 10, 0.05);
    EXPECT_NEAR(std::strtod(value_of(run.out, "rp").c_str(), nullptr), 100, 0.1);
    // The peak is the sample nearest 1 / (2 pi Rct Cdl) = 159 Hz, 3.5 % apart.
    EXPECT_NEAR(std::strtod(value_of(run.out, "cp").c_str(), nullptr), 1e-5, 0.04e-5);
    // Z' at 100 kHz is 10 + 100 / (1 + (2 pi 1e5 1e-3)^2); the Ohm sign in UTF-8.
    EXPECT_EQ(value_of(run.out, "Rs"), "10.0003 \xCE\xA9");

    // The tuning as the dialog reads it: the default, then a value it refuses.
    const s_tool_run tuned = tool({"analyze", "eis", sweep, "--smoothing", "5", "--sensitivity", "12"});
    EXPECT_EQ(tuned.out, run.out);
    struct refusal_case {
        std::vector<std::string> words;
        const char* err;
    };
    const refusal_case refusals[] = {
        {{"--sensitivity", "101"}, "The Sensitivity can only be between 0% and 100%\n"},
        {{"--smoothing", "-1", "--sensitivity", "150"}, "The Sensitivity can only be between 0% and 100%\n"},
        {{"--smoothing", "250"}, "The Smoothing can only be between 0% and 100%\n"},
    };
    for (const refusal_case& c : refusals) {
        std::vector<std::string> words = {"analyze", "eis", sweep};
        words.insert(words.end(), c.words.begin(), c.words.end());
        const s_tool_run refused = tool(words);
        EXPECT_EQ(refused.status, 1);
        EXPECT_EQ(refused.out, "");
        EXPECT_EQ(refused.err, c.err);
    }
}

TEST_F(ToolAnalysis, PiezoPrintsTheCircuitAndRefusesAdmittance)
{
    // C0 = 1 nF beside R1 = 100, L1 = 0.1 H, C1 = 10 pF: fr = 159.15 kHz,
    // Q = 1000, so the 10 Hz grid resolves both extremes.
    const auto resonator = [](double f) {
        const complex jw(0, 2 * std::numbers::pi * f);
        const complex motional = 100.0 + jw * 0.1 + 1.0 / (jw * 1e-11);
        const complex plate = 1.0 / (jw * 1e-9);
        return motional * plate / (motional + plate);
    };
    const s_tool_run run = tool({"analyze", "piezo", file("piezo.txt", impedance_file(resonator, 150e3, 170e3, 2000))});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NEAR(std::strtod(value_of(run.out, "r").c_str(), nullptr), 100, 1);
    EXPECT_NEAR(std::strtod(value_of(run.out, "l").c_str(), nullptr), 0.1, 0.005);
    EXPECT_NEAR(std::strtod(value_of(run.out, "c").c_str(), nullptr), 1e-11, 0.05e-11);
    EXPECT_NEAR(std::strtod(value_of(run.out, "c_p").c_str(), nullptr), 1e-9, 0.05e-9);
    for (const char* shown : {"R", "L", "C", "Cp"}) {
        EXPECT_NE(value_of(run.out, shown), "") << shown;
    }

    const s_tool_run admittance =
        tool({"analyze", "piezo", file("y.txt", impedance_file(resonator, 150e3, 170e3, 20, "Y"))});
    EXPECT_EQ(admittance.status, 1);
    EXPECT_EQ(admittance.out, "");
    EXPECT_NE(admittance.err.find("admittance"), std::string::npos) << admittance.err;
}

TEST_F(ToolAnalysis, FilesTheAnalysesCannotUseExitOneWithTheReason)
{
    const std::string fra_file = file("loop.dat", fra_data_file({{100, 1, 10}, {200, -1, -10}}));
    const std::string folder = scratch.path();
    struct bad_case {
        std::vector<std::string> words;
        int status;
        const char* err_start;
    };
    const bad_case cases[] = {
        {{"analyze", "eis", scratch.file("missing.txt")}, 1, "Unable to read sweep file "},
        {{"analyze", "piezo", folder}, 1, "Unable to read sweep file "},
        {{"analyze", "eis", file("empty.txt", "Index\tFrequency\r\n")}, 1, "Unable to read sweep file "},
        {{"margins", file("lcr.txt", impedance_file(randles, 1, 10, 3))}, 1, "Unable to read sweep file "},
        {{"analyze", "eis"}, 2, "corvexa2-cli: a sweep file is needed"},
        {{"analyze", "eis", fra_file, "--smoothing"}, 2, "corvexa2-cli: --smoothing needs a value"},
        {{"margins", fra_file, "--db", "x.db"}, 2, "corvexa2-cli: give a sweep file"},
        {{"margins", fra_file, fra_file}, 2, "corvexa2-cli: unexpected word"},
    };
    for (const bad_case& c : cases) {
        const s_tool_run run = tool(c.words);
        SCOPED_TRACE(c.words.back());
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
    }
}

// A database of two tests made in-process: a loop that crosses 0 dB at
// 150 Hz and 0 degrees at 350 Hz, and one that never crosses.
class ToolGraphAnalysis : public ToolAnalysis {
protected:
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(make_loop_tests_database(database));
    }

    std::string database = scratch.file("loops.db");
};

TEST_F(ToolGraphAnalysis, MarginsOfStoredTestsListCrossingsRunLengthsAndBands)
{
    const s_tool_run run = tool({"margins", "--db", database, "--test", "1", "--test", "2"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Crossing\n"
              "0dB\t150\t0\t20\t0\t2\n"
              "0deg\t350\t-25\t0\t2\t3\n"
              "band\t150\t350\n"
              "Flat\n"
              "On Flat: \nNo gain 0dB point found\n"
              "On Flat: \nNo 0 Phase point found\n");
}

TEST_F(ToolGraphAnalysis, CombinePairsPointsByIndexOpenAndClosedLoop)
{
    const s_tool_run open = tool({"combine", "--db", database, "--test", "1", "--test", "2", "--open-loop"});
    ASSERT_EQ(open.status, 0) << open.err;
    // Two points (the shorter test); at 100 Hz both are 10 dB at 30 degrees,
    // so the sum is 6.02 dB higher at the same phase.
    std::istringstream lines(open.out);
    std::string first, second, extra;
    ASSERT_TRUE(std::getline(lines, first));
    ASSERT_TRUE(std::getline(lines, second));
    EXPECT_FALSE(std::getline(lines, extra));
    double f = 0, gain = 0, phase = 0;
    ASSERT_EQ(std::sscanf(first.c_str(), "%lf\t%lf\t%lf", &f, &gain, &phase), 3);
    EXPECT_EQ(f, 100);
    EXPECT_NEAR(gain, 10 + 20 * std::log10(2.0), 1e-12);
    EXPECT_NEAR(phase, 30, 1e-12);

    // Closed loop of two: T = (H1 + H2 - 2 H1 H2) / (1 - H1 H2).
    const s_tool_run closed = tool({"combine", "--db", database, "--test", "1", "--test", "2"});
    ASSERT_EQ(closed.status, 0) << closed.err;
    const complex h = std::polar(std::pow(10.0, 0.5), 30 * std::numbers::pi / 180);
    const complex t = (h + h - 2.0 * h * h) / (1.0 - h * h);
    ASSERT_EQ(std::sscanf(closed.out.c_str(), "%lf\t%lf\t%lf", &f, &gain, &phase), 3);
    EXPECT_NEAR(gain, 20 * std::log10(std::abs(t)), 1e-9);
    EXPECT_NEAR(phase, std::arg(t) * 180 / std::numbers::pi, 1e-9);
}

TEST_F(ToolGraphAnalysis, TestsThatCannotBeGraphedExitWithTheReason)
{
    struct bad_case {
        std::vector<std::string> words;
        int status;
        std::string err_start;
    };
    const std::vector<std::string> ten = {"margins", "--db", database, "--test", "1", "--test", "1", "--test",
                                          "1", "--test", "1", "--test", "1", "--test", "1", "--test", "1",
                                          "--test", "1", "--test", "1", "--test", "1"};
    const bad_case cases[] = {
        {{"margins", "--db", database, "--test", "7"}, 1, "No test 7 in " + database},
        {{"margins", "--db", scratch.file("none.db"), "--test", "1"}, 1, "Database file not found: "},
        {{"margins", "--db", database, "--test", "x"}, 2, "corvexa2-cli: --test must be a whole number"},
        {ten, 2, "corvexa2-cli: at most 9 tests"},
        {{"combine", "--db", database, "--test", "1"}, 2, "corvexa2-cli: --db DB and two or three"},
        {{"combine", "--db", database, "--test", "1", "--test", "1"}, 2, "corvexa2-cli: test 1 is given twice"},
        {{"combine", "--db", database, "--test", "1", "--test", "3"}, 1, "No test 3 in "},
    };
    for (const bad_case& c : cases) {
        const s_tool_run run = tool(c.words);
        SCOPED_TRACE(c.err_start);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
    }
}

}  // namespace
