// "plot test" run as a separate process (this build's corvexa2-cli) on a
// small database: the picture it writes parses as XML and shows the tests,
// their margins and the options asked for; words it cannot use and data it
// cannot load exit with the reason and leave no file behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "db/db_connection.h"
#include "db/db_points.h"
#include "db/db_records.h"
#include "db/db_write.h"
#include "support/loop_tests_database.h"
#include "support/temp_folder.h"
#include "support/tool_process.h"
#include "support/xml_check.h"

namespace {

std::string read_file(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool exists(const std::string& path)
{
    return static_cast<bool>(std::ifstream(path, std::ios::binary));
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

class ToolPlot : public ::testing::Test {
protected:
    // Two tests: a loop crossing 0 dB at 150 Hz and 0 degrees at 350 Hz,
    // and one that never crosses.
    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(make_loop_tests_database(database));
    }

    s_xml_document plot(const std::vector<std::string>& extra)
    {
        std::vector<std::string> words = {"plot", "test", "--db", database, "--test", "1", "--test", "2", "--out", picture};
        words.insert(words.end(), extra.begin(), extra.end());
        const s_tool_run run = runner.run(words);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, "");
        EXPECT_FALSE(exists(picture + ".part"));
        s_xml_document document = parse_xml(read_file(picture));
        EXPECT_EQ(document.error, "");
        return document;
    }

    temp_folder scratch;
    tool_runner runner;
    std::string database = scratch.file("loops.db");
    std::string picture = scratch.file("graph.svg");
};

TEST_F(ToolPlot, DrawsTheTestsWithTheirMarginsIntoAnSvgPicture)
{
    const s_xml_document document = plot({"--margins"});
    ASSERT_NE(document.root, nullptr);
    EXPECT_EQ(document.root->attribute("width"), "1008");
    EXPECT_EQ(document.root->attribute("height"), "600");
    const std::vector<std::string> texts = texts_of(*document.root);
    for (const char* expected : {"FREQUENCY (Hz)", "GAIN (dB)", "PHASE (\u00B0)", "C.ing", "Flat", "200", "300",
                                 "150.00 Hz  20.0\u00B0", "350.00 Hz  -25.0dB"}) {
        EXPECT_TRUE(holds(texts, expected)) << expected;
    }
    // A path for each visible curve, in the tests' colours: Crimson and Hot
    // Pink for the first, Royal Blue and Steel Blue for the second.
    int curves = 0;
    for (const s_xml_element* path : xml_elements_named(*document.root, "path")) {
        const std::string stroke = path->attribute("stroke");
        curves += stroke == "#DC143C" || stroke == "#FF69B4" || stroke == "#3A5FCD" || stroke == "#63B8FF";
    }
    EXPECT_EQ(curves, 4);
    // The margin marks are white on the black background.
    const auto rects = xml_elements_named(*document.root, "rect");
    ASSERT_GE(rects.size(), 2u);
    EXPECT_EQ(rects[0]->attribute("fill"), "#FFFFFF");  // the page
    EXPECT_EQ(rects[1]->attribute("fill"), "#000000");  // the plot
}

TEST_F(ToolPlot, SizeWhiteAndNoMarginsChangeThePicture)
{
    const s_xml_document document = plot({"--size", "640x480", "--white"});
    ASSERT_NE(document.root, nullptr);
    EXPECT_EQ(document.root->attribute("viewBox"), "0 0 640 480");
    EXPECT_EQ(xml_elements_named(*document.root, "rect").at(1)->attribute("fill"), "#FFFFFF");
    const std::vector<std::string> texts = texts_of(*document.root);
    EXPECT_FALSE(holds(texts, "150.00 Hz  20.0\u00B0"));
    EXPECT_TRUE(holds(texts, "FREQUENCY (Hz)"));
}

TEST_F(ToolPlot, WordsAndDataItCannotUseExitWithTheReasonAndWriteNothing)
{
    struct bad_case {
        std::vector<std::string> words;
        int status;
        std::string err_start;
    };
    const std::string out = picture;
    const bad_case cases[] = {
        {{"plot"}, 2, "corvexa2-cli: plot needs the kind of graph: test, lcr-bode, lcr-nyquist, eis, piezo"},
        {{"plot", "pie", "--out", out}, 2, "corvexa2-cli: unknown kind of graph pie"},
        {{"plot", "test", "--db", database, "--test", "1"}, 2, "corvexa2-cli: --out must name"},
        {{"plot", "test", "--db", database, "--test", "1", "--out", scratch.file("graph.png")}, 2, "corvexa2-cli: --out must name"},
        {{"plot", "test", "--test", "1", "--out", out}, 2, "corvexa2-cli: plot test needs --db DB"},
        {{"plot", "test", "--db", database, "--test", "1", "--out", out, "--size", "100x100"}, 2, "corvexa2-cli: --size must be"},
        {{"plot", "test", "--db", database, "--test", "1", "--out", out, "--size", "640"}, 2, "corvexa2-cli: --size must be"},
        {{"plot", "test", "--db", database, "--test", "1", "--out", out, "--size", "99999999999x480"}, 2, "corvexa2-cli: --size must be"},
        {{"plot", "test", "--db", database, "--test", "1", "--out", out, "stray"}, 2, "corvexa2-cli: unexpected word stray"},
        {{"plot", "test", "--db", database, "--test", "7", "--out", out}, 1, "No test 7 in " + database},
        {{"plot", "test", "--db", scratch.file("none.db"), "--test", "1", "--out", out}, 1, "Database file not found: "},
        {{"plot", "test", "--db", database, "--test", "1", "--out", scratch.file("no folder/graph.svg")}, 1, "Unable to write "},
#ifndef _WIN32
        {{"plot", "test", "--db", database, "--test", "1", "--out", scratch.file("graph.bmp")}, 1,
         "Bitmap pictures are written by the Windows build of the tool"},
#endif
    };
    for (const bad_case& c : cases) {
        SCOPED_TRACE(c.err_start);
        const s_tool_run run = runner.run(c.words);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.rfind(c.err_start, 0), 0u) << run.err;
        EXPECT_FALSE(exists(out));
        EXPECT_FALSE(exists(out + ".part"));
        EXPECT_FALSE(exists(scratch.file("graph.bmp")));
    }
    // A picture already there stays as it was when the new one fails.
    std::ofstream(out, std::ios::binary) << "earlier";
    EXPECT_EQ(runner.run({"plot", "test", "--db", database, "--test", "9", "--out", out}).status, 1);
    EXPECT_EQ(read_file(out), "earlier");
}

}  // namespace
