// The command-line tool against instruments that misbehave, run as a
// separate process against the simulator: every reply that cannot be what
// it claims, or does not fit, is a failure with the link's own words, and
// help is asked for only in the command's place.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/sim_process.h"
#include "support/tool_process.h"

namespace {

std::string many_values(int count)
{
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += i ? ",1" : "1";
    }
    return text;
}

struct reply_case {
    const char* name;
    std::vector<std::string> tool_words;  // after --lan ADDRESS
    int status;
    std::string out;
    std::string err;
};

TEST(ToolReplies, RepliesThatCannotBeWhatTheyClaimFailWithTheReason)
{
    sim_process sim({"--raw-reply", "NUL?=\\x00\\x00\\x00", "--raw-reply", "BIN3?=\\x81\\xA0\\x80",
                     "--raw-reply", "BIN1?=\\x81", "--binary-reply", "BINS?=1.5,2.5",
                     "--binary-reply", "BIN?=1234.5", "--big-reply", "BIG?=70000",
                     "--raw-reply", "MANY?=" + many_values(2001), "--raw-reply", "HELP=help received"},
                    "127.0.0.195");
    const reply_case cases[] = {
        {"nul bytes", {"query", "NUL?"}, 1, "", "The reply holds NUL bytes: it is not a text reply\n"},
        {"three binary bytes", {"query", "BIN3?"}, 1, "", "The reply is a binary value cut short\n"},
        {"one binary byte", {"values", "BIN1?"}, 1, "", "The reply is a binary value cut short\n"},
        {"a binary list is not one value", {"query", "BINS?"}, 1, "",
         "The reply is a list of 10 bytes of binary values: read it with values\n"},
        {"one binary value", {"query", "BIN?"}, 0, "1.23450E3\n", ""},
        {"line longer than any reply", {"query", "BIG?"}, 1, "",
         "The reply was longer than 41919 characters and was discarded\n"},
        {"values past the limit", {"values", "MANY?"}, 1, "", "The reply holds more than 2000 values\n"},
        {"help as an argument is sent", {"query", "HELP"}, 0, "help received\n", ""},
    };
    tool_runner tool;
    for (const reply_case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> words = {"--lan", sim.address()};
        words.insert(words.end(), c.tool_words.begin(), c.tool_words.end());
        const s_tool_run run = tool.run(words);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
}

// An instrument that answers with bytes that never end: identification and
// a query both give up within their deadlines and say so.
TEST(ToolReplies, AReplyThatNeverEndsEndsTheCommand)
{
    sim_process sim({"--endless-reply", "*IDN?"}, "127.0.0.197");
    tool_runner tool;
    const s_tool_run query = tool.run({"--lan", sim.address(), "query", "*IDN?"});
    EXPECT_EQ(query.status, 1);
    EXPECT_EQ(query.out, "");
    EXPECT_EQ(query.err, "The reply was longer than 41919 characters and was discarded\n");
    const s_tool_run identify = tool.run({"--lan", sim.address(), "identify"});
    EXPECT_EQ(identify.status, 1);
    EXPECT_EQ(identify.out, "The connection failed\n");
}

#ifndef _WIN32
// A device path that is no serial port is named as the user gave it.
TEST(ToolReplies, APortThatWillNotOpenIsNamedAsGiven)
{
    tool_runner tool;
    const s_tool_run run = tool.run({"--serial", "/dev/null", "query", "*IDN?"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Unable to open port /dev/null\n");
}
#endif

TEST(ToolReplies, HelpOnlyInTheCommandsPlace)
{
    tool_runner tool;
    for (const char* word : {"--help", "-h", "help"}) {
        const s_tool_run run = tool.run({word});
        EXPECT_EQ(run.status, 0) << word;
        EXPECT_EQ(run.out.rfind("usage: corvexa2-cli", 0), 0u) << word;
    }
    // A database or session called "help" is just a name.
    const s_tool_run run = tool.run({"db", "sessions", "help"});
    EXPECT_NE(run.status, 0);
    EXPECT_EQ(run.out.find("usage:"), std::string::npos);
}

TEST(ToolReplies, ConfigurationReadThatWarnedFailsAndValuesOutsideLimitsAreMarked)
{
    // Parameter 18 never answers (the read warns and goes on); parameter 19
    // reads a value its limits do not allow.
    sim_process sim({"--instrument", "hvxa", "--no-reply", "18", "--out-of-limits", "19=5e7"}, "127.0.0.196");
    tool_runner tool;
    const s_tool_run read = tool.run({"--lan", sim.address(), "config", "read"});
    EXPECT_EQ(read.status, 1);
    EXPECT_NE(read.out.find("An error occurred"), std::string::npos) << read.out;
    EXPECT_NE(read.out.find("\n19\t"), std::string::npos) << "the values read are still listed";
    EXPECT_NE(read.err.find("Warning: "), std::string::npos) << read.err;
    EXPECT_NE(read.err.find("(id:19 val:5"), std::string::npos) << read.err;

    const s_tool_run get = tool.run({"--lan", sim.address(), "config", "get", "19"});
    EXPECT_EQ(get.status, 0) << get.out << get.err;
    EXPECT_NE(get.err.find("lies outside its limits"), std::string::npos) << get.err;
}

}  // namespace
