// "sweep fra" through the tool against the simulator measuring an RC
// low-pass: the rows printed and the sweep data file agree with the
// device's H(f) computed here, the database holds the test, and a value
// the checks refuse sends nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "support/sim_process.h"
#include "support/sqlite_file.h"
#include "support/tool_process.h"

namespace {

constexpr double corner_hz = 100;
constexpr double pi = 3.14159265358979323846;

std::vector<std::string> fields_of(const std::string& line)
{
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string field; std::getline(in, field, '\t');) {
        fields.push_back(field);
    }
    return fields;
}

std::vector<std::string> lines_of(const std::string& text)
{
    std::vector<std::string> lines;
    std::stringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Gain (dB) and phase (degrees) of 1 / (1 + j f/fc).
void expect_rc_point(const std::vector<std::string>& row, double f)
{
    ASSERT_EQ(row.size(), 7u);
    const double ratio = f / corner_hz;
    EXPECT_NEAR(std::atof(row[1].c_str()), f, f * 1e-4);
    EXPECT_NEAR(std::atof(row[4].c_str()), -10 * std::log10(1 + ratio * ratio), 1e-3);
    EXPECT_NEAR(std::atof(row[5].c_str()), -std::atan(ratio) * 180 / pi, 1e-3);
}

class ToolSweep : public ::testing::Test {
protected:
    sim_process sim{{"--instrument", "hvxa", "--dut", "rc-lowpass:fc=100"}, "127.0.0.185"};
    tool_runner tool;
};

TEST_F(ToolSweep, RowsFollowTheDevice)
{
    const s_tool_run run =
        tool.run({"--lan", sim.address(), "sweep", "fra", "--steps", "3", "--start", "10", "--end", "1000"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::string> lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    // The tool prints the degree sign in the terminal's own terms.
#ifdef _WIN32
    const std::string degree = "\xB0";
#else
    const std::string degree = "\xC2\xB0";
#endif
    EXPECT_EQ(lines[0], "Step\tFrequency (Hz)\tMagnitude 1 (V)\tMagnitude 2 (V)\tGain (dB)\tPhase (" + degree +
                            ")\tDelay (s)");
    expect_rc_point(fields_of(lines[1]), 10);
    expect_rc_point(fields_of(lines[2]), 100);
    expect_rc_point(fields_of(lines[3]), 1000);
    EXPECT_NE(run.err.find("Downloading sweep data"), std::string::npos) << run.err;
}

TEST_F(ToolSweep, TheFileAndTheDatabaseHoldTheSweep)
{
    const std::string database = tool.scratch().file("tests.db");
    const std::string file = tool.scratch().file("sweep1.dat");
    ASSERT_EQ(tool.run({"db", "new-session", database, "Bench"}).status, 0);
    const s_tool_run run = tool.run({"--lan", sim.address(), "sweep", "fra", "--steps", "2", "--start", "10", "--end",
                                     "1000", "--out", file, "--db", database, "--session", "1", "--project", "P",
                                     "--name", "RC"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_EQ(run.out, "");
    std::ifstream in(file, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t first_end = bytes.find("\r\n");
    ASSERT_NE(first_end, std::string::npos);
    const std::size_t second_end = bytes.find("\r\n", first_end + 2);
    ASSERT_NE(second_end, std::string::npos);
    EXPECT_EQ(bytes.find("\r\n", second_end + 2), std::string::npos) << "no line end after the last row";
    expect_rc_point(fields_of(bytes.substr(first_end + 2, second_end - first_end - 2)), 10);
    expect_rc_point(fields_of(bytes.substr(second_end + 2)), 1000);
    EXPECT_EQ(sqlite_file_rows(database, "SELECT Name FROM Test"), std::vector<std::string>{"RC"});
    EXPECT_EQ(sqlite_file_rows(database, "SELECT count(*) FROM Data"), std::vector<std::string>{"2"});
}

TEST_F(ToolSweep, ARefusedValueSendsNothing)
{
    const s_tool_run run = tool.run({"--lan", sim.address(), "sweep", "fra", "--steps", "1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "The sweep must be between 2 and 2000 steps\n");
    for (const std::string& command : sim.commands()) {
        EXPECT_EQ(command.find("config,18,"), std::string::npos) << command;
        EXPECT_NE(command, "start");
    }
}

}  // namespace

namespace {

// A Piezo-view impedance sweep of a 470-ohm resistor on a family C
// instrument: impedance rows, and parameter 137 back as it was.
TEST(ToolLcrSweep, APiezoSweepMeasuresImpedanceAndPutsTheSettingBack)
{
    sim_process sim({"--instrument", "hvxc", "--dut", "resistor:r=470", "--set", "137=0"}, "127.0.0.186");
    tool_runner tool;
    const s_tool_run run =
        tool.run({"--lan", sim.address(), "sweep", "lcr", "--steps", "2", "--start", "10", "--end", "1000", "--piezo"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::string> lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 3u) << run.out;
    EXPECT_EQ(lines[0].rfind("Steps\tFrequency (Hz)\tZ Real (Ohms)\tZ Quadrature (Ohms)", 0), 0u) << lines[0];
    for (const std::size_t i : {1u, 2u}) {
        const std::vector<std::string> row = fields_of(lines[i]);
        ASSERT_EQ(row.size(), 6u);
        EXPECT_NEAR(std::atof(row[2].c_str()), 470, 0.01);
        EXPECT_NEAR(std::atof(row[3].c_str()), 0, 1e-6);
    }
    std::vector<std::string> writes;
    for (const std::string& command : sim.commands()) {
        if (command.rfind("config,137,", 0) == 0) {
            writes.push_back(command);
        }
    }
    EXPECT_EQ(writes, (std::vector<std::string>{"config,137,3", "config,137,0"}));
}

}  // namespace

namespace {

// "sweep fra --realtime": the program steps the generator itself; each
// point follows the device, the output is switched on first and, with
// --set-start-frequency, the generator is left on at the start frequency.
TEST(ToolRealtimeSweep, PointsFollowTheDeviceAndTheGeneratorIsLeftAsAsked)
{
    sim_process sim({"--instrument", "hvxa", "--dut", "rc-lowpass:fc=100"}, "127.0.0.187");
    tool_runner tool;
    const s_tool_run run = tool.run({"--lan", sim.address(), "sweep", "fra", "--realtime", "--steps", "3", "--start",
                                     "10", "--end", "1000", "--set-start-frequency"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::string> lines = lines_of(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    expect_rc_point(fields_of(lines[1]), 10);
    expect_rc_point(fields_of(lines[2]), 100);
    expect_rc_point(fields_of(lines[3]), 1000);
    std::vector<std::string> generator;
    for (const std::string& command : sim.commands()) {
        if (command.rfind("config,48,", 0) == 0 || command.rfind("config,7,", 0) == 0) {
            generator.push_back(command);
        }
    }
    EXPECT_EQ(generator, (std::vector<std::string>{"config,7,1", "config,48,1.0000E+001", "config,48,1.0000E+001",
                                                   "config,48,1.0000E+002", "config,48,1.0000E+003",
                                                   "config,48,1.0000E+001"}));
}

// "reading fra" and "reading lcr": live readings at the generator frequency.
TEST(ToolReading, LiveReadingsFollowTheDevice)
{
    sim_process sim({"--instrument", "hvxc", "--dut", "resistor:r=470", "--set", "48=1000"}, "127.0.0.188");
    tool_runner tool;
    const s_tool_run fra = tool.run({"--lan", sim.address(), "reading", "fra", "--count", "2"});
    ASSERT_EQ(fra.status, 0) << fra.out << fra.err;
    const std::vector<std::string> fra_lines = lines_of(fra.out);
    ASSERT_EQ(fra_lines.size(), 3u) << fra.out;
    EXPECT_NEAR(std::atof(fields_of(fra_lines[2])[1].c_str()), 1000, 1e-6);

    const s_tool_run lcr = tool.run({"--lan", sim.address(), "reading", "lcr"});
    ASSERT_EQ(lcr.status, 0) << lcr.out << lcr.err;
    const std::vector<std::string> lcr_lines = lines_of(lcr.out);
    ASSERT_EQ(lcr_lines.size(), 2u) << lcr.out;
    const std::vector<std::string> titles = fields_of(lcr_lines[0]);
    const std::vector<std::string> values = fields_of(lcr_lines[1]);
    ASSERT_EQ(titles.size(), values.size());
    ASSERT_GE(titles.size(), 5u);
    EXPECT_EQ(titles[4], "Impedance");
    EXPECT_NEAR(std::atof(values[4].c_str()), 470, 0.01);
    int questions = 0;
    for (const std::string& command : sim.commands()) {
        questions += command == "*wai;fra?" || command == "lcr?";
    }
    EXPECT_EQ(questions, 3);
}

TEST(ToolReading, ACountOutOfRangeIsAUsageError)
{
    tool_runner tool;
    const s_tool_run run = tool.run({"--lan", "127.0.0.1", "reading", "fra", "--count", "0"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("--count takes a number from 1 to 1000000"), std::string::npos) << run.err;
}

}  // namespace
