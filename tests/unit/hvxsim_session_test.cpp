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
#include "sim/line_framer.h"
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
            s.wrote(w, at);
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

// Takes what is due at `at` once, recording it as written then.
std::string take_once(session& s, clock_type::time_point at)
{
    std::string w = s.take_output(at);
    if (!w.empty())
        s.wrote(w, at);
    return w;
}

TEST(HvxsimSession, IdleTimeRunsFromTheLastInputOrTheLastReplyOut)
{
    wire_settings wire;
    wire.idle_timeout = 30s;
    wire.reply_delay = 45s;  // longer than the idle time: the client waits on us
    rig r(wire);
    session s = r.open();
    EXPECT_EQ(s.idle_deadline(), r.t0 + 30s);

    s.received("*ID", r.t0 + 10s);  // any byte counts, a partial line too
    EXPECT_EQ(s.idle_deadline(), r.t0 + 40s);
    s.received("N?\n", r.t0 + 20s);
    EXPECT_FALSE(s.idle_deadline());
    EXPECT_EQ(rig::all_at(s, r.t0 + 65s), hvxa_identity + "\r\n");
    EXPECT_EQ(s.idle_deadline(), r.t0 + 95s);

    // A trickled reply holds the idle time until its last byte is out.
    wire_settings slow;
    slow.idle_timeout = 1s;
    slow.trickle_interval = 2s;
    slow.line_end = "\n";
    rig tr(slow, {{"A?", {"ab"}}});
    session t = tr.open();
    t.received("A?\n", tr.t0);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(take_once(t, tr.t0 + i * 2s).size(), 1u) << i;
        EXPECT_FALSE(t.idle_deadline()) << i;
    }
    EXPECT_EQ(take_once(t, tr.t0 + 4s), "\n");
    EXPECT_EQ(t.idle_deadline(), tr.t0 + 5s);
}

TEST(HvxsimSession, StreamAndEndlessReplyDoNotKeepASilentClientAndZeroNeverDrops)
{
    std::string error;
    auto endless = parse_endless_reply("E?", error);
    ASSERT_TRUE(endless) << error;
    wire_settings wire;
    wire.idle_timeout = 30s;
    wire.stream_interval = 1s;
    rig r(wire, {*endless});
    session s = r.open();
    EXPECT_FALSE(take_once(s, r.t0 + 1s).empty());  // a stream line
    EXPECT_EQ(s.idle_deadline(), r.t0 + 30s);
    s.received("E?\n", r.t0 + 2s);
    for (auto at = r.t0 + 2s; at < r.t0 + 40s; at += 5s)
        EXPECT_FALSE(take_once(s, at).empty());
    EXPECT_EQ(s.idle_deadline(), r.t0 + 32s);

    wire.idle_timeout = 0s;
    rig never(wire);
    session n = never.open();
    EXPECT_FALSE(n.idle_deadline());
}

TEST(HvxsimSession, EndlessReplyStreamsLettersUntilAResetAndIsRecordedOnce)
{
    std::string error;
    auto endless = parse_endless_reply("ENDLESS?", error);
    ASSERT_TRUE(endless) << error;
    rig r({}, {*endless});
    session s = r.open();
    s.received("endless?\n*IDN?\n", r.t0);

    std::string sent;
    for (int i = 0; i < 3; ++i) {
        const std::string chunk = take_once(s, r.t0);
        ASSERT_EQ(chunk.size(), endless_chunk_bytes) << i;
        sent += chunk;
    }
    EXPECT_EQ(sent, endless_reply_bytes(0, sent.size()));
    EXPECT_TRUE(sent.starts_with("ABCDEFGHIJKLMNOPQRSTUVWXYZAB"));
    EXPECT_EQ(sent.find_first_of(std::string("\r\n\0", 3)), std::string::npos);
    EXPECT_EQ(s.next_write_time(), r.t0);  // it never ends by itself

    // A reset ends it and the identity reply queued behind it; a new
    // command is answered again.
    s.received("\x14*IDN?\n", r.t0 + 1s);
    EXPECT_EQ(rig::all_at(s, r.t0 + 1s), hvxa_identity + "\r\n");

    // Only the endless reply's first write is recorded, and its length when it ends.
    std::vector<std::string> outs_and_notes;
    for (const auto& record : r.records()) {
        if (record.starts_with("tcp#1 OUT"))
            outs_and_notes.push_back(record.substr(0, 24));
        else if (record.starts_with("tcp#1 NOTE"))
            outs_and_notes.push_back(record);
    }
    const std::vector<std::string> expected = {
        "tcp#1 NOTE \"endless reply: letters without a line end until the connection ends, a reset or the idle drop\"",
        "tcp#1 OUT \"ABCDEFGHIJKLM",
        "tcp#1 NOTE \"endless reply ended after " + std::to_string(sent.size()) + " bytes\"",
        "tcp#1 OUT \"ZELVORIAN,HVX",
    };
    EXPECT_EQ(outs_and_notes, expected);
}

TEST(HvxsimSession, RawAndExactRepliesSendTheirBytesExactly)
{
    struct reply_case {
        bool exact;
        const char* argument;
        std::string sent;
    };
    const reply_case cases[] = {
        {false, "X?=\\x00\\x80\\xFFz", std::string("\0\x80\xFFz\r\n", 6)},
        {false, "X?=\\0", std::string("\0\r\n", 3)},
        {false, "X?=", "\r\n"},
        {true, "X?=ABCDEFGH", "ABCDEFGH"},
        {true, "X?=\\x00\\x80", std::string("\0\x80", 2)},
        {true, "X?=a\\r\\n\\r", "a\r\n\r"},
        {true, "X?=", ""},  // nothing at all
    };
    for (const auto& c : cases) {
        std::string error;
        auto forced = c.exact ? parse_exact_reply(c.argument, error) : parse_raw_reply(c.argument, error);
        ASSERT_TRUE(forced) << c.argument << ": " << error;
        rig r({}, {*forced});
        session s = r.open();
        s.received("X?\n", r.t0);
        EXPECT_EQ(rig::all_at(s, r.t0), c.sent) << c.argument;
        EXPECT_FALSE(s.replies_pending()) << c.argument;
    }
}

TEST(HvxsimSession, TrickledExactReplyEndsWithoutALineEnd)
{
    std::string error;
    auto forced = parse_exact_reply("X?=ABCDEFGH", error);
    ASSERT_TRUE(forced) << error;
    wire_settings wire;
    wire.trickle_interval = 20ms;
    rig r(wire, {*forced});
    session s = r.open();
    s.received("X?\n", r.t0);
    std::string sent;
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(s.next_write_time(), r.t0 + i * 20ms) << i;
        const auto w = rig::writes_at(s, r.t0 + i * 20ms);
        ASSERT_EQ(w.size(), 1u) << i;
        sent += w[0];
    }
    EXPECT_EQ(sent, "ABCDEFGH");
    EXPECT_FALSE(s.next_write_time());
    EXPECT_EQ(rig::all_at(s, r.t0 + 1h), "");
}

TEST(HvxsimSession, OverlongLineIsDiscardedWithANoteAndTheNextCommandAnswered)
{
    rig r;
    session s = r.open();
    const std::string block(4096, 'x');
    for (std::size_t sent = 0; sent < 4 * line_framer::max_line_length; sent += block.size())
        s.received(block, r.t0);
    s.received("\n" + idn_tcp, r.t0);
    EXPECT_EQ(rig::all_at(s, r.t0), hvxa_identity + "\r\n");

    std::vector<std::string> commands_and_notes;
    for (const auto& record : r.records()) {
        if (record.starts_with("tcp#1 CMD") || record.starts_with("tcp#1 NOTE"))
            commands_and_notes.push_back(record);
    }
    const std::vector<std::string> expected = {
        "tcp#1 NOTE \"line longer than 65536 bytes: discarded up to its line end\"",
        "tcp#1 CMD \"*IDN?\"",
    };
    EXPECT_EQ(commands_and_notes, expected);
}

TEST(HvxsimSession, QueuedOutputIsBoundedRepliesDroppedWithANoteStreamLinesSkipped)
{
    wire_settings wire;
    wire.max_queued_output = 100;
    std::vector<reply_override> forced = {{"B?", {std::string(40, 'b')}}};  // 42 bytes with its line end
    {
        rig r(wire, forced);
        session s = r.open();
        s.received("B?\nB?\nB?\n", r.t0);
        EXPECT_EQ(r.records().back(), "tcp#1 NOTE \"output queue full (84 bytes not yet taken by the client): "
                                      "reply to \\\"B?\\\" dropped\"");
        EXPECT_EQ(rig::writes_at(s, r.t0).size(), 2u);
        s.received("B?\n", r.t0);  // room again once the client took its replies
        EXPECT_EQ(rig::writes_at(s, r.t0).size(), 1u);
    }
    {
        // One stream line waits behind a held reply; those due meanwhile are skipped.
        wire.stream_interval = 0ms;
        wire.reply_delay = 1s;
        rig r(wire, forced);
        session s = r.open();
        s.received("B?\n", r.t0);
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(s.take_output(r.t0), "") << i;
        std::vector<std::string> sent;
        for (int i = 0; i < 4; ++i)
            sent.push_back(s.take_output(r.t0 + 1s));
        const std::vector<std::string> expected = {std::string(40, 'b') + "\r\n", stream_line(1) + "\r\n",
                                                   stream_line(8) + "\r\n", stream_line(9) + "\r\n"};
        EXPECT_EQ(sent, expected);
    }
}

}  // namespace
