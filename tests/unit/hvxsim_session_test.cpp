// The simulator's conversation logic driven in-process with made-up times:
// replies, resets, the fault knobs that shape the wire, state shared across
// connections, and the transcript records.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/binary_value.h"
#include "sim/instrument.h"
#include "sim/reply_overrides.h"
#include "sim/session.h"
#include "sim/transcript.h"
#include "support/temp_folder.h"

namespace {

using namespace hvxsim;
using namespace std::chrono_literals;
using clock_type = session::clock;

const std::string hvxa_identity = "ZELVORIAN,HVXA1735,10234,2.17";

// One instrument with a transcript file, and helpers to run sessions on it.
class rig {
public:
    explicit rig(wire_settings wire = {}, std::vector<reply_override> overrides = {},
                 unsigned long identity_answer_from = 1)
        : wire_(std::move(wire)), device_(make_state(identity_answer_from), std::move(overrides))
    {
        std::string error;
        EXPECT_TRUE(log_.open(folder_.file("transcript.txt"), error)) << error;
    }

    session open(const std::string& channel = "tcp#1")
    {
        session s(device_, wire_, log_, channel);
        s.connected(t0, "127.0.0.1:5000");
        return s;
    }

    // Everything written at time `at`, write by write.
    static std::vector<std::string> writes_at(session& s, clock_type::time_point at)
    {
        std::vector<std::string> writes;
        for (std::string w = s.take_output(at); !w.empty(); w = s.take_output(at)) {
            s.wrote(w);
            writes.push_back(w);
        }
        return writes;
    }

    static std::string all_at(session& s, clock_type::time_point at)
    {
        std::string joined;
        for (const auto& w : writes_at(s, at))
            joined += w;
        return joined;
    }

    // Transcript records without their time stamps.
    std::vector<std::string> records() const
    {
        std::ifstream in(folder_.file("transcript.txt"), std::ios::binary);
        std::vector<std::string> out;
        for (std::string line; std::getline(in, line);)
            out.push_back(line.substr(line.find(' ') + 1));
        return out;
    }

    instrument& device() { return device_; }

    const clock_type::time_point t0 = clock_type::time_point() + 1h;

private:
    static instrument_state make_state(unsigned long answer_from)
    {
        instrument_state s;
        s.identity = hvxa_identity;
        s.identity_answer_from = answer_from;
        return s;
    }

    temp_folder folder_;
    transcript log_;
    wire_settings wire_;
    instrument device_;
};

const std::string idn_tcp("*IDN?\n\0", 7);

TEST(HvxsimSession, AnswersIdentityPromptlyAndIgnoresUnknownCommands)
{
    rig r;
    session s = r.open();
    s.received(idn_tcp + std::string("BOGUS?\n\0*idn?\r\n\0", 17), r.t0);
    EXPECT_EQ(rig::writes_at(s, r.t0), (std::vector<std::string>{hvxa_identity + "\r\n", hvxa_identity + "\r\n"}));
    EXPECT_FALSE(s.next_write_time());
    EXPECT_FALSE(s.replies_pending());
}

TEST(HvxsimSession, ResetDropsPartialLineAndQueuedRepliesAndIsNeverAnswered)
{
    wire_settings wire;
    wire.reply_delay = 100ms;
    rig r(wire);
    session s = r.open();

    s.received(idn_tcp, r.t0);                              // queued, due at t0 + 100 ms
    s.received(std::string("*IDN", 4), r.t0 + 10ms);        // partial line
    s.received(std::string("\x14\0", 2), r.t0 + 20ms);      // reset
    s.received(std::string("?\n\0", 3), r.t0 + 30ms);       // completes only "?"
    EXPECT_EQ(rig::all_at(s, r.t0 + 1s), "");

    s.received(idn_tcp, r.t0 + 2s);
    EXPECT_EQ(rig::all_at(s, r.t0 + 2s + 100ms), hvxa_identity + "\r\n");

    const std::vector<std::string> expected = {
        "tcp#1 CONNECT 127.0.0.1:5000",
        "tcp#1 IN \"*IDN?\\n\\0\"",
        "tcp#1 CMD \"*IDN?\"",
        "tcp#1 IN \"*IDN\"",
        "tcp#1 IN \"\\x14\\0\"",
        "tcp#1 RESET",
        "tcp#1 IN \"?\\n\\0\"",
        "tcp#1 CMD \"?\"",
        "tcp#1 IN \"*IDN?\\n\\0\"",
        "tcp#1 CMD \"*IDN?\"",
        "tcp#1 OUT \"ZELVORIAN,HVXA1735,10234,2.17\\r\\n\"",
    };
    EXPECT_EQ(r.records(), expected);
}

TEST(HvxsimSession, ResetStopsAReplyBeingTrickled)
{
    wire_settings wire;
    wire.trickle_interval = 10ms;
    rig r(wire);
    session s = r.open();
    s.received(idn_tcp, r.t0);
    EXPECT_EQ(rig::writes_at(s, r.t0), std::vector<std::string>{"Z"});
    EXPECT_EQ(rig::writes_at(s, r.t0 + 10ms), std::vector<std::string>{"E"});
    s.received("\x14", r.t0 + 15ms);
    EXPECT_FALSE(s.next_write_time());
    EXPECT_EQ(rig::all_at(s, r.t0 + 1s), "");
}

TEST(HvxsimSession, DelayHoldsEachReplyForItsTime)
{
    wire_settings wire;
    wire.reply_delay = 250ms;
    rig r(wire);
    session s = r.open();
    s.received(idn_tcp, r.t0);
    s.received(idn_tcp, r.t0 + 100ms);
    EXPECT_EQ(s.next_write_time(), r.t0 + 250ms);
    EXPECT_EQ(rig::all_at(s, r.t0 + 249ms), "");
    EXPECT_EQ(rig::all_at(s, r.t0 + 250ms), hvxa_identity + "\r\n");
    EXPECT_EQ(s.next_write_time(), r.t0 + 350ms);
    EXPECT_EQ(rig::all_at(s, r.t0 + 350ms), hvxa_identity + "\r\n");
}

TEST(HvxsimSession, TrickleSendsOneByteAtATimeSpacedAcrossReplies)
{
    wire_settings wire;
    wire.trickle_interval = 20ms;
    wire.line_end = "\n";
    std::vector<reply_override> forced = {{"A?", {"ab"}}};
    rig r(wire, forced);
    session s = r.open();
    s.received("A?\nA?\n", r.t0);
    std::string sent;
    auto t = r.t0;
    for (int i = 0; i < 6; ++i) {
        ASSERT_EQ(s.next_write_time(), t) << i;
        EXPECT_EQ(rig::all_at(s, t - 1ms), "") << i;
        const auto w = rig::writes_at(s, t);
        ASSERT_EQ(w.size(), 1u) << i;
        sent += w[0];
        t += 20ms;
    }
    EXPECT_EQ(sent, "ab\nab\n");
    EXPECT_FALSE(s.next_write_time());
}

TEST(HvxsimSession, SilentAndBareLineEndKnobs)
{
    {
        wire_settings wire;
        wire.silent = true;
        rig r(wire);
        session s = r.open();
        s.received(idn_tcp, r.t0);
        EXPECT_EQ(rig::all_at(s, r.t0 + 1h), "");
        EXPECT_EQ(r.records().back(), "tcp#1 CMD \"*IDN?\"");
    }
    {
        wire_settings wire;
        wire.line_end = "\n";
        rig r(wire);
        session s = r.open();
        s.received(idn_tcp, r.t0);
        EXPECT_EQ(rig::all_at(s, r.t0), hvxa_identity + "\n");
    }
}

TEST(HvxsimSession, IdentityAnsweredFromTheNthRequestCountedAcrossConnections)
{
    rig r({}, {}, 3);
    {
        session first = r.open("tcp#1");
        first.received(idn_tcp + idn_tcp, r.t0);
        EXPECT_EQ(rig::all_at(first, r.t0), "");
        first.closed();
    }
    session second = r.open("tcp#2");
    second.received(idn_tcp, r.t0);
    EXPECT_EQ(rig::all_at(second, r.t0), hvxa_identity + "\r\n");
    second.received(idn_tcp, r.t0);
    EXPECT_EQ(rig::all_at(second, r.t0), hvxa_identity + "\r\n");
    EXPECT_EQ(r.device().snapshot().identity_requests, 4u);
}

TEST(HvxsimSession, ForcedRepliesReplaceTheCommandTableCaseInsensitively)
{
    std::string error;
    std::vector<reply_override> forced;
    for (auto parsed : {parse_binary_reply("gainph,sweep?=1234.5,-0.5", error), parse_raw_reply("*IDN?=a\\0b", error),
                        parse_burst_reply("BURST?=3x8", error), parse_big_reply("BIG?=9000", error)}) {
        ASSERT_TRUE(parsed) << error;
        forced.push_back(*parsed);
    }
    rig r({}, forced);
    session s = r.open();

    s.received("GAINPH,SWEEP?\n", r.t0);
    EXPECT_EQ(rig::all_at(s, r.t0), encode_binary_values({1234.5, -0.5}) + "\r\n");

    s.received("*idn?\n", r.t0);
    EXPECT_EQ(rig::all_at(s, r.t0), std::string("a\0b\r\n", 5));

    // The burst goes out in one write.
    s.received("burst?\n", r.t0);
    EXPECT_EQ(rig::writes_at(s, r.t0), std::vector<std::string>{"000001:A\r\n000002:A\r\n000003:A\r\n"});

    s.received("BIG?\n", r.t0);
    const auto big = rig::writes_at(s, r.t0);
    ASSERT_EQ(big.size(), 1u);
    EXPECT_EQ(big[0].size(), 9002u);
    EXPECT_TRUE(big[0].ends_with("\r\n"));
    EXPECT_EQ(big[0].find_first_of(std::string("\r\n\0", 3)), 9000u);
}

TEST(HvxsimSession, StreamsLinesFromConnectUntilInputEnds)
{
    wire_settings wire;
    wire.stream_interval = 50ms;
    rig r(wire);
    session s = r.open();
    EXPECT_EQ(s.next_write_time(), r.t0 + 50ms);
    EXPECT_EQ(rig::all_at(s, r.t0 + 49ms), "");
    EXPECT_EQ(rig::all_at(s, r.t0 + 50ms), "1.00000E+00,-4.50000E+01\r\n");
    // Replies interleave with the stream in order of time.
    s.received(idn_tcp, r.t0 + 60ms);
    EXPECT_EQ(rig::all_at(s, r.t0 + 60ms), hvxa_identity + "\r\n");
    EXPECT_EQ(rig::all_at(s, r.t0 + 100ms), "2.00000E+00,-4.50000E+01\r\n");
    s.input_ended();
    EXPECT_FALSE(s.next_write_time());
    EXPECT_EQ(rig::all_at(s, r.t0 + 1s), "");
}

TEST(HvxsimSession, StreamWithoutIntervalProducesALineOnEveryTurn)
{
    wire_settings wire;
    wire.stream_interval = 0ms;
    rig r(wire);
    session s = r.open();
    for (unsigned long n = 1; n <= 3; ++n) {
        EXPECT_EQ(s.next_write_time(), r.t0);
        EXPECT_EQ(s.take_output(r.t0), stream_line(n) + "\r\n");
    }
}

}  // namespace
