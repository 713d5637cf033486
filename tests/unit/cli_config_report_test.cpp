// "config report", "config save" and "config load" through the tool against
// the simulator: the report of what the instrument holds, a saved stream
// loaded back into a changed instrument, and loads that send nothing (a
// stream for another instrument without --yes, a damaged stream).
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "support/sim_process.h"
#include "support/tool_process.h"

namespace {

std::vector<std::string> lines_of(const std::string& text, const std::string& line_end = "\n")
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find(line_end, start);
        lines.push_back(text.substr(start, end - start));
        start = end == std::string::npos ? text.size() : end + line_end.size();
    }
    return lines;
}

std::vector<std::string> writes_of(const sim_process& sim)
{
    std::vector<std::string> writes;
    for (const std::string& command : sim.commands()) {
        if (command.rfind("config,", 0) == 0 && command.find('?') == std::string::npos) {
            writes.push_back(command);
        }
    }
    return writes;
}

TEST(ToolConfigReport, ReportsWhatTheInstrumentHolds)
{
    struct report_case {
        const char* instrument;
        const char* set;  // the instrument's numbering
        std::vector<std::string> lines;  // expected somewhere in the report, in this order
        std::string last;
    };
#ifdef _WIN32
    const std::string degree = "\xB0";
#else
    const std::string degree = "\xC2\xB0";
#endif
    const report_case cases[] = {
        {"hvxa", "18=200",
         {"Acquisition,mode,normal", ",steps,200", "Channel2,input,disabled", "System,phase convention,-180" + degree +
          " to 180" + degree, "Measurement settings,operation mode,frequency response analyser"},
         ",graph,phase"},
        // The instrument's mode 6 is the program's 5 (family C's instrument
        // mode 4 is not offered).
        {"hvxc", "1=6",
         {"Acquisition,input,2 channels", "Channel3,input,direct", "Measurement settings,operation mode,vector voltmeter",
          ",parameter,in-phase"},
         ",upper limit,1.0000e0"},
    };
    for (const report_case& c : cases) {
        SCOPED_TRACE(c.instrument);
        sim_process sim({"--instrument", c.instrument, "--set", c.set}, "127.0.0.20");
        tool_runner tool;
        const s_tool_run run = tool.run({"--lan", sim.address(), "config", "report"});
        ASSERT_EQ(run.status, 0) << run.out << run.err;
        const std::vector<std::string> lines = lines_of(run.out);
        std::size_t at = 0;
        for (const std::string& expected : c.lines) {
            while (at < lines.size() && lines[at] != expected) {
                ++at;
            }
            EXPECT_LT(at, lines.size()) << "missing or out of order: " << expected << "\n" << run.out;
        }
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines.back(), c.last);
        EXPECT_EQ(run.out.find('\r'), std::string::npos);
        EXPECT_TRUE(writes_of(sim).empty());
    }
}

TEST(ToolConfigReport, WithoutAnInstrumentFails)
{
    sim_process sim({"--instrument", "hvxa"}, "127.0.0.21");
    tool_runner tool;
    EXPECT_EQ(tool.run({"config", "report", "extra"}).status, 2);
    sim.stop();
    const s_tool_run run = tool.run({"--lan", sim.address(), "config", "report"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out.find("Acquisition"), std::string::npos) << run.out;
}

class ToolConfigStream : public ::testing::Test {
protected:
    sim_process sim{{"--instrument", "hvxa", "--set", "18=50"}, "127.0.0.22"};
    tool_runner tool;
    std::string file = tool.scratch().file("bench.cfg");
    std::string edited = tool.scratch().file("edited.cfg");

    // The saved stream with every record but parameter 18's left out (0),
    // so that loading it writes that one parameter.
    std::vector<std::string> only_steps(const std::vector<std::string>& lines)
    {
        std::vector<std::string> out(lines.begin(), lines.begin() + 3);
        std::size_t at = 3;
        for (int index = 0; index < 512; ++index) {
            const bool has_value = lines.at(at) != "0";
            out.push_back(index == 18 ? lines[at] : "0");
            if (index == 18) {
                out.push_back(lines.at(at + 1));
            }
            at += has_value ? 2 : 1;
        }
        return out;
    }
    static std::string joined(const std::vector<std::string>& lines)
    {
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\r\n";
        }
        return text;
    }
};

TEST_F(ToolConfigStream, SavedStreamLoadsBack)
{
    const s_tool_run save = tool.run({"--lan", sim.address(), "config", "save", file});
    ASSERT_EQ(save.status, 0) << save.out << save.err;
    const std::vector<std::string> lines = lines_of(read_bytes(file), "\r\n");
    ASSERT_GT(lines.size(), 3u + 512u);
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 3), (std::vector<std::string>{"1", "7", "2"}));

    ASSERT_EQ(tool.run({"--lan", sim.address(), "config", "set", "18", "200"}).status, 0);
    write_bytes(edited, joined(only_steps(lines)));
    const s_tool_run load = tool.run({"--lan", sim.address(), "config", "load", edited});
    ASSERT_EQ(load.status, 0) << load.out << load.err;
    EXPECT_EQ(writes_of(sim), (std::vector<std::string>{"config,18,200", "config,18,50"}));
    EXPECT_EQ(tool.run({"--lan", sim.address(), "config", "get", "18"}).out, "18\tSteps\t50\n");
}

TEST_F(ToolConfigStream, RefusedLoadsSendNothing)
{
    ASSERT_EQ(tool.run({"--lan", sim.address(), "config", "save", file}).status, 0);
    std::vector<std::string> lines = only_steps(lines_of(read_bytes(file), "\r\n"));
    lines[1] = "9";  // saved for a family C instrument
    write_bytes(edited, joined(lines));

    const s_tool_run declined = tool.run({"--lan", sim.address(), "config", "load", edited});
    EXPECT_EQ(declined.status, 1);
    EXPECT_NE(declined.out.find("The selected configuration file is for a HVXC High Current, and you are importing "
                                "to a HVXA High Current."),
              std::string::npos)
        << declined.out;
    EXPECT_NE(declined.err.find("--yes"), std::string::npos) << declined.err;
    EXPECT_TRUE(writes_of(sim).empty());

    lines[4] = "12345";  // parameter 18's value line in the place of its command number
    write_bytes(edited, joined(lines));
    const s_tool_run damaged = tool.run({"--lan", sim.address(), "config", "load", edited, "--yes"});
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.out.find("The configuration file cannot be loaded"), std::string::npos) << damaged.out;
    EXPECT_TRUE(writes_of(sim).empty());

    const s_tool_run missing = tool.run({"--lan", sim.address(), "config", "load", tool.scratch().file("none.cfg")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("the file cannot be opened"), std::string::npos) << missing.err;

    write_bytes(edited, joined(only_steps(lines_of(read_bytes(file), "\r\n"))));
    lines = lines_of(read_bytes(edited), "\r\n");
    lines[1] = "9";
    write_bytes(edited, joined(lines));
    const s_tool_run accepted = tool.run({"--lan", sim.address(), "config", "load", edited, "--yes"});
    EXPECT_EQ(accepted.status, 0) << accepted.out << accepted.err;
    EXPECT_EQ(writes_of(sim), std::vector<std::string>{"config,18,50"});
}

}  // namespace
