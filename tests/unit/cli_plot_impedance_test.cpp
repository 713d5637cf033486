// The tool's impedance plots run as a separate process (this build's
// corvexa2-cli) on small sweep files: the SVG picture each kind writes, the
// graph settings it takes from the settings folder, and the usage errors and
// files it refuses, leaving no picture behind.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <numbers>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"

namespace {

namespace fs = std::filesystem;

// An impedance import file (index, frequency, Z', Z'', |Z|, phase) of a
// Randles cell (10 Ohms, then 100 Ohms beside 10 uF) from 1 Hz to 100 kHz;
// quantity "Y" writes the admittance instead.
std::string randles_file(const char* quantity = "Z")
{
    std::string text = std::string("Index\tFrequency\t") + quantity + " Real\t" + quantity + " Quadrature\t|" +
                       quantity + "|\tPhase\r\n";
    char row[256];
    for (int i = 0; i < 41; ++i) {
        const double f = std::pow(10.0, i / 8.0);
        const std::complex<double> jw(0, 2 * std::numbers::pi * f);
        std::complex<double> v = 10.0 + 100.0 / (1.0 + jw * 100.0 * 1e-5);
        if (quantity[0] == 'Y') {
            v = 1.0 / v;
        }
        std::snprintf(row, sizeof row, "%d\t%.9g\t%.9g\t%.9g\t%.9g\t%.9g\r\n", i + 1, f, v.real(), v.imag(),
                      std::abs(v), std::arg(v) * 180 / std::numbers::pi);
        text += row;
    }
    return text;
}

class ToolPlotImpedance : public ::testing::Test {
protected:
    void SetUp() override
    {
        const s_tool_run help = runner.run({"--help"});
        if (help.out.find("plot lcr-bode") == std::string::npos) {
            GTEST_SKIP() << "the tool has no impedance plot commands in this build";
        }
        write_bytes(sweep, randles_file());
    }

    s_tool_run tool(const std::vector<std::string>& words) { return runner.run(words); }

    temp_folder scratch;
#ifndef _WIN32
    // The settings folder the tool reads the graph settings from.
    temp_folder app_data;
    const scoped_variable local{"LOCALAPPDATA", app_data.path().c_str()};
#endif
    tool_runner runner;
    const std::string sweep = scratch.file("cell.txt");
};

TEST_F(ToolPlotImpedance, EachKindWritesAnSvgPictureOfItsGraph)
{
    const struct {
        const char* kind;
        std::vector<std::string> texts;  // as the picture holds them (UTF-8, XML escapes)
    } cases[] = {
        {"lcr-bode", {"FREQUENCY (Hz)", "Z MAGNITUDE (ohms)", "Z PHASE(\xC2\xB0)", "Freq.: 1.0000 Hz"}},
        {"lcr-nyquist", {"Real Z&apos; (Ohms)", "Imagnary Z&apos;&apos; (Ohms)", "Frequency: 1.0000 Hz"}},
        {"eis", {"Real Z&apos; (Ohms)", "Imagnary Z&apos;&apos; (Ohms)"}},
        {"piezo", {"FREQUENCY (Hz)", "IMPEDANCE (ohms)", "PHASE (\xC2\xB0)", "100k"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const std::string out = scratch.file(std::string(c.kind) + ".svg");
        const s_tool_run run = tool({"plot", c.kind, sweep, "--out", out, "--size", "640x400"});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        const std::string svg = read_bytes(out);
        EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
        EXPECT_NE(svg.find("width=\"640\" height=\"400\""), std::string::npos);
        EXPECT_NE(svg.find("</svg>"), std::string::npos);
        for (const std::string& text : c.texts) {
            EXPECT_NE(svg.find(">" + text + "<"), std::string::npos) << text;
        }
    }
}

TEST_F(ToolPlotImpedance, WhitePicturesAndTheDefaultSize)
{
    const std::string out = scratch.file("white.svg");
    ASSERT_EQ(tool({"plot", "lcr-bode", sweep, "--out", out, "--white"}).status, 0);
    const std::string svg = read_bytes(out);
    EXPECT_NE(svg.find("width=\"800\" height=\"500\""), std::string::npos);
    EXPECT_EQ(svg.find("#F0F0F0"), std::string::npos);  // no window colour around the plot
    EXPECT_EQ(svg.find("fill=\"#000000\" shape"), std::string::npos);  // no black plot

    ASSERT_EQ(tool({"plot", "lcr-bode", sweep, "--out", out}).status, 0);
    EXPECT_NE(read_bytes(out).find("#F0F0F0"), std::string::npos);
}

#ifndef _WIN32
TEST_F(ToolPlotImpedance, TheGraphSettingsOfTheKindAreTaken)
{
    const fs::path folder = fs::path(app_data.path()) / "Zelvorian" / "Corvexa";
    fs::create_directories(folder);
    // Plot A in pure green on a white background, a manual range of 0 to 400 Ohms.
    write_bytes((folder / "lcr_bode_settings.ini").string(),
               "[GSettings]\r\nBGColour=1\r\n[PlotA]\r\nColour=65280\r\nRange=3\r\nMin=0\r\nMax=400\r\n");
    const std::string out = scratch.file("set.svg");
    const s_tool_run run = tool({"plot", "lcr-bode", sweep, "--out", out});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string svg = read_bytes(out);
    EXPECT_NE(svg.find("stroke=\"#00FF00\""), std::string::npos);
    EXPECT_NE(svg.find(">400.0<"), std::string::npos);
    // The other kinds keep their defaults: the Nyquist curve in the first colour.
    ASSERT_EQ(tool({"plot", "lcr-nyquist", sweep, "--out", out}).status, 0);
    EXPECT_EQ(read_bytes(out).find("stroke=\"#00FF00\""), std::string::npos);
}
#endif

TEST_F(ToolPlotImpedance, RefusedWordsAndFilesLeaveNoPicture)
{
    write_bytes(scratch.file("y.txt"), randles_file("Y"));
    write_bytes(scratch.file("empty.txt"), "Index\tFrequency\r\n");
    const std::string out = scratch.file("never.svg");
    const struct {
        std::vector<std::string> words;
        int status;
        const char* err_start;
    } cases[] = {
        {{"plot", "eis", "--out", out}, 2, "corvexa2-cli: a sweep file is needed"},
        {{"plot", "eis", sweep}, 2, "corvexa2-cli: --out FILE.svg is needed"},
        {{"plot", "eis", sweep, "--out"}, 2, "corvexa2-cli: --out needs a value"},
        {{"plot", "eis", sweep, "--out", out, "--size", "800"}, 2, "corvexa2-cli: --size needs WIDTHxHEIGHT"},
        {{"plot", "eis", sweep, "--out", out, "--size", "0x400"}, 2, "corvexa2-cli: --size needs WIDTHxHEIGHT"},
        {{"plot", "eis", sweep, "--out", out, "--size", "99999x400"}, 2, "corvexa2-cli: --size needs WIDTHxHEIGHT"},
        {{"plot", "eis", sweep, "--out", out, "--size", "-5x400"}, 2, "corvexa2-cli: --size needs WIDTHxHEIGHT"},
        {{"plot", "eis", sweep, "--out", out, "--white", "--white"}, 2, "corvexa2-cli: --white is given once only"},
        {{"plot", "eis", sweep, sweep, "--out", out}, 2, "corvexa2-cli: unexpected word"},
        {{"plot", "eis", scratch.file("missing.txt"), "--out", out}, 1, "Unable to read sweep file "},
        {{"plot", "lcr-bode", scratch.file("empty.txt"), "--out", out}, 1, "Unable to read sweep file "},
        {{"plot", "piezo", scratch.file("y.txt"), "--out", out}, 1, ""},
        {{"plot", "lcr-nyquist", sweep, "--out", scratch.file("no/such/folder.svg")}, 1, "Unable to write "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words.size() > 2 ? c.words[2] : c.words.back());
        const s_tool_run run = tool(c.words);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
        EXPECT_FALSE(fs::exists(out));
    }
    EXPECT_FALSE(fs::exists(scratch.file("no")));
}

}  // namespace
