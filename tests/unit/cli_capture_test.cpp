// "capture" through the tool against the simulator: the bitmap files hold
// the simulator's picture (monochrome as the graph pictures are written,
// colour as the colour worker writes it), a download that fails prints the
// program's message, exits 1 and leaves no file, and malformed options are
// usage errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graph/bmp_file.h"
#include "sim/screen_picture.h"
#include "support/sim_process.h"
#include "support/tool_process.h"

namespace {

std::vector<std::uint8_t> file_bytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The simulator's built-in picture of a 320 by 240 screen as a capture shows it.
s_pixel_image shown_picture(bool colour)
{
    const hvxsim::screen_picture p = hvxsim::test_picture({320, 240});
    s_pixel_image out = make_pixel_image(p.width, p.height);
    for (std::size_t i = 0; i < p.pixels.size(); ++i) {
        for (int c = 0; c < 3; ++c) {
            out.bgr[3 * i + c] = colour ? hvxsim::value_of_level(p.pixels[i] >> (2 * c))
                                        : (hvxsim::pixel_is_dark(p.pixels[i]) ? 0 : 255);
        }
    }
    return out;
}

TEST(ToolCapture, WritesTheScreenInBothForms)
{
    sim_process sim({}, "127.0.0.46");
    tool_runner tool;
    const std::string mono = tool.scratch().file("mono.bmp");
    s_tool_run run = tool.run({"--lan", sim.address(), "capture", "--out", mono});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    EXPECT_NE(run.err.find("Downloading Screenshot..."), std::string::npos) << run.err;
    EXPECT_TRUE(file_bytes(mono) == bmp_24_file_bytes(shown_picture(false)));

    const std::string colour = tool.scratch().file("colour.bmp");
    run = tool.run({"--lan", sim.address(), "capture", "--out", colour, "--colour"});
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    const std::vector<std::uint8_t> written = file_bytes(colour);
    const std::vector<std::uint8_t> expected = bmp_24_file_bytes(shown_picture(true));
    ASSERT_EQ(written.size(), expected.size());
    EXPECT_TRUE(std::equal(written.begin() + 54, written.end(), expected.begin() + 54));
}

TEST(ToolCapture, AFailedDownloadLeavesNoFile)
{
    sim_process sim({"--screen-short-line", "3"}, "127.0.0.47");
    tool_runner tool;
    for (const char* form : {"mono", "colour"}) {
        SCOPED_TRACE(form);
        const std::string out = tool.scratch().file(std::string(form) + ".bmp");
        std::vector<std::string> words = {"--lan", sim.address(), "capture", "--out", out};
        if (std::string(form) == "colour") {
            words.push_back("--colour");
        }
        const s_tool_run run = tool.run(words);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "A communication error has occured while downloading the screenshot from the instrument\n");
        EXPECT_FALSE(std::ifstream(out).good());
    }
}

TEST(ToolCapture, MalformedOptionsAreUsageErrors)
{
    tool_runner tool;
    const std::vector<std::vector<std::string>> cases = {
        {"capture"},
        {"capture", "--out"},
        {"capture", "--out", "x.bmp", "--group", "3"},
        {"capture", "--out", "x.bmp", "--group"},
        {"capture", "--out", "x.bmp", "--mono"},
    };
    for (std::vector<std::string> words : cases) {
        words.insert(words.begin(), {"--lan", "127.0.0.47"});
        const s_tool_run run = tool.run(words);
        EXPECT_EQ(run.status, 2) << words.back();
        EXPECT_NE(run.err.find("Try 'corvexa2-cli --help'"), std::string::npos) << run.err;
    }
}

}  // namespace
