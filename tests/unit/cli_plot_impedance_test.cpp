// The impedance kinds of "plot" run as a separate process (this build's
// corvexa2-cli) on small sweep files: the SVG picture each kind writes, the
// graph settings it takes from the settings folder, and the files it
// refuses, leaving no picture behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"
#include "support/xml_check.h"

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

std::vector<std::string> texts_of(const s_xml_element& root)
{
    std::vector<std::string> texts;
    for (const s_xml_element* text : xml_elements_named(root, "text")) {
        texts.push_back(text->text);
    }
    return texts;
}

bool holds(const std::vector<std::string>& texts, const std::string& text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

// The strokes of the picture's paths.
std::vector<std::string> strokes_of(const s_xml_element& root)
{
    std::vector<std::string> strokes;
    for (const s_xml_element* path : xml_elements_named(root, "path")) {
        strokes.push_back(path->attribute("stroke"));
    }
    return strokes;
}

class ToolPlotImpedance : public ::testing::Test {
protected:
    void SetUp() override { write_bytes(sweep, randles_file()); }

    s_xml_document plot(const std::vector<std::string>& words)
    {
        const s_tool_run run = runner.run(words);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "");
        s_xml_document document = parse_xml(read_bytes(picture));
        EXPECT_EQ(document.error, "");
        return document;
    }

    temp_folder scratch;
#ifndef _WIN32
    // The settings folder the tool reads the graph settings from.
    temp_folder app_data;
    const scoped_variable local{"LOCALAPPDATA", app_data.path().c_str()};
#endif
    tool_runner runner;
    const std::string sweep = scratch.file("cell.txt");
    const std::string picture = scratch.file("graph.svg");
};

TEST_F(ToolPlotImpedance, EachKindDrawsItsGraph)
{
    const struct {
        const char* kind;
        std::vector<std::string> texts;  // UTF-8, as the picture holds them
    } cases[] = {
        {"lcr-bode", {"FREQUENCY (Hz)", "Z MAGNITUDE (ohms)", "Z PHASE(\u00B0)", "Freq.: 1.0000 Hz", "100k"}},
        {"lcr-nyquist", {"Real Z' (Ohms)", "Imagnary Z'' (Ohms)", "Frequency: 1.0000 Hz", "Real Z': 110.00 Ohms"}},
        {"eis", {"Real Z' (Ohms)", "Imagnary Z'' (Ohms)"}},
        {"piezo", {"FREQUENCY (Hz)", "IMPEDANCE (ohms)", "PHASE (\u00B0)", "100k", "-180", "180"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        const s_xml_document document = plot({"plot", c.kind, sweep, "--out", picture, "--size", "640x400"});
        ASSERT_NE(document.root, nullptr);
        EXPECT_EQ(document.root->attribute("width"), "640");
        EXPECT_EQ(document.root->attribute("height"), "400");
        const std::vector<std::string> texts = texts_of(*document.root);
        for (const std::string& text : c.texts) {
            EXPECT_TRUE(holds(texts, text)) << text;
        }
        const auto rects = xml_elements_named(*document.root, "rect");
        ASSERT_GE(rects.size(), 2u);
        EXPECT_EQ(rects[0]->attribute("fill"), "#FFFFFF");  // the page
        EXPECT_EQ(rects[1]->attribute("fill"), "#000000");  // the plot
    }
    // The Randles cell's analysis marks its arc in white.
    const s_xml_document eis = plot({"plot", "eis", sweep, "--out", picture});
    ASSERT_NE(eis.root, nullptr);
    const std::vector<std::string> strokes = strokes_of(*eis.root);
    EXPECT_GE(std::count(strokes.begin(), strokes.end(), "#FFFFFF"), 1);
}

TEST_F(ToolPlotImpedance, WhitePlotsAndThePiezoReportPicture)
{
    const s_xml_document bode = plot({"plot", "lcr-bode", sweep, "--out", picture, "--white"});
    ASSERT_NE(bode.root, nullptr);
    EXPECT_EQ(xml_elements_named(*bode.root, "rect").at(1)->attribute("fill"), "#FFFFFF");
    // The report's picture draws its curves 2 pixels wide.
    const s_xml_document piezo = plot({"plot", "piezo", sweep, "--out", picture, "--white"});
    ASSERT_NE(piezo.root, nullptr);
    int wide_red = 0;
    for (const s_xml_element* path : xml_elements_named(*piezo.root, "path")) {
        wide_red += path->attribute("stroke") == "#FF0000" && path->attribute("stroke-width") == "2";
    }
    EXPECT_GE(wide_red, 1);
}

#ifndef _WIN32
TEST_F(ToolPlotImpedance, TheGraphSettingsOfTheKindAreTaken)
{
    const fs::path folder = fs::path(app_data.path()) / "Zelvorian" / "Corvexa";
    fs::create_directories(folder);
    // Plot A in pure green on a white background, a manual range of 0 to 400 Ohms.
    write_bytes((folder / "lcr_bode_settings.ini").string(),
                "[GSettings]\r\nBGColour=1\r\n[PlotA]\r\nColour=65280\r\nRange=3\r\nMin=0\r\nMax=400\r\n");
    const s_xml_document bode = plot({"plot", "lcr-bode", sweep, "--out", picture});
    ASSERT_NE(bode.root, nullptr);
    const std::vector<std::string> strokes = strokes_of(*bode.root);
    EXPECT_NE(std::find(strokes.begin(), strokes.end(), "#00FF00"), strokes.end());
    EXPECT_TRUE(holds(texts_of(*bode.root), "400.0"));
    EXPECT_EQ(xml_elements_named(*bode.root, "rect").at(1)->attribute("fill"), "#FFFFFF");
    // The other kinds keep their own defaults.
    const s_xml_document nyquist = plot({"plot", "lcr-nyquist", sweep, "--out", picture});
    ASSERT_NE(nyquist.root, nullptr);
    const std::vector<std::string> nyquist_strokes = strokes_of(*nyquist.root);
    EXPECT_EQ(std::find(nyquist_strokes.begin(), nyquist_strokes.end(), "#00FF00"), nyquist_strokes.end());
}
#endif

TEST_F(ToolPlotImpedance, FilesItCannotDrawExitWithTheReasonAndWriteNothing)
{
    write_bytes(scratch.file("y.txt"), randles_file("Y"));
    write_bytes(scratch.file("empty.txt"), "Index\tFrequency\r\n");
    const struct {
        std::vector<std::string> words;
        int status;
        const char* err_start;
    } cases[] = {
        {{"plot", "eis", "--out", picture}, 2, "corvexa2-cli: plot eis takes 1 file(s)"},
        {{"plot", "eis", sweep, sweep, "--out", picture}, 2, "corvexa2-cli: unexpected word"},
        {{"plot", "eis", scratch.file("missing.txt"), "--out", picture}, 1, "Unable to read sweep file "},
        {{"plot", "lcr-bode", scratch.file("empty.txt"), "--out", picture}, 1, "Unable to read sweep file "},
        {{"plot", "piezo", scratch.file("y.txt"), "--out", picture}, 1, ""},
        {{"plot", "lcr-nyquist", sweep, "--out", scratch.file("no/such/folder.svg")}, 1, "Unable to write "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words[2]);
        const s_tool_run run = runner.run(c.words);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(run.err.empty());
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
        EXPECT_FALSE(fs::exists(picture));
    }
    EXPECT_FALSE(fs::exists(scratch.file("no")));
}

}  // namespace
