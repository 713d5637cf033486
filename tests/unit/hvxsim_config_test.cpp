// The simulated instrument's configuration driven in-process: query forms,
// writes against the limits and the event status register, suspend, the
// mode commands and the inputs that follow the mode, every configuration
// fault knob, and state kept across connections.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "sim/config_number_text.h"
#include "sim/config_setup.h"
#include "sim/instrument.h"
#include "sim/session.h"
#include "sim/sim_options.h"
#include "sim/transcript.h"
#include "support/sim_state.h"

namespace {

using namespace hvxsim;
using namespace std::chrono_literals;
using namespace std::string_literals;

using replies = std::vector<std::string>;
const replies none;

// An instrument set up from simulator arguments, as hvxsim would start it.
class device {
public:
    explicit device(std::vector<std::string> args) : device_(sim_state_from_words(args)) {}

    // Every line's reply lines, in order (nothing for an unanswered line).
    replies run(const std::vector<std::string>& lines)
    {
        replies all;
        for (const auto& line : lines) {
            for (auto& reply : device_.execute(line))
                all.push_back(std::move(reply));
        }
        return all;
    }

    replies ask(const std::string& line) { return run({line}); }

    // The value held for parameter n, as the instrument would answer it.
    std::string held(int n) { return *device_.snapshot().config->reply_text(n); }

    instrument& get() { return device_; }

private:
    instrument device_;
};

TEST(HvxsimConfig, EveryParameterAnswersInTheInstrumentsOwnForm)
{
    for (const char* key : {"hvxa", "hvxab", "hvxb", "hvxc", "hvxcm"}) {
        device d({"--instrument", key});
        const instrument_state state = d.get().snapshot();
        ASSERT_TRUE(state.config) << key;
        for (const config_parameter& p : state.config->parameters()) {
            const replies reply = d.ask("config," + std::to_string(p.number) + "?");
            ASSERT_EQ(reply.size(), 1u) << key << " " << p.number;
            const std::string& text = reply[0];
            EXPECT_LE(text.size(), 18u) << key << " " << p.number;
            double value = 0;
            if (p.kind == config_kind::choice) {
                // Bare digits: no sign, no space, nothing after.
                EXPECT_EQ(text.find_first_not_of("0123456789"), std::string::npos) << key << " " << p.number;
                ASSERT_TRUE(parse_whole_number(text, value)) << text;
            } else {
                ASSERT_TRUE(parse_real_number(text, value)) << text;
                EXPECT_EQ(compact_exponent_text(value), text) << key << " " << p.number;
            }
            EXPECT_TRUE(accepts(p, value)) << key << " " << p.number << " answers " << text;
        }
    }
}

TEST(HvxsimConfig, QueriesOfKnownAndUnknownParameters)
{
    struct query_case {
        const char* instrument;
        const char* line;
        replies expected;
    };
    const query_case cases[] = {
        {"hvxa", "config,1?", {"1"}},
        {"hvxa", "CONFIG,18?", {"50"}},
        {"hvxa", "config,48?", {"1.0000E3"}},
        {"hvxa", "config,96?", {"2.0000E-1"}},
        {"hvxa", "config,24?", {"1"}},
        {"hvxc", "config,208?", {"1.0000E-3"}},
        {"hvxc", "config,223?", {"0.0000E0"}},
        {"hvxc", "config,1?;config,24?", {"1", "1"}},
        {"hvxa", "config,10?", none},          // not a parameter of the family
        {"hvxa", "config,0?", none},
        {"hvxa", "config,-1?", none},
        {"hvxa", "config,99999999999?", none},
        {"trxa", "config,1?", none},           // no configuration at all
    };
    for (const auto& c : cases) {
        device d({"--instrument", c.instrument});
        EXPECT_EQ(d.ask(c.line), c.expected) << c.instrument << " " << c.line;
    }
}

TEST(HvxsimConfig, WritesAreCheckedAgainstTheModelsLimitsAndReportedThroughEsr)
{
    struct write_case {
        const char* instrument;
        int parameter;
        const char* value;
        const char* held_after;  // the parameter's answer afterwards
        bool accepted;
    };
    const write_case cases[] = {
        {"hvxa", 49, "5", "5.0000E0", true},
        {"hvxa", 49, "1.0000E1", "1.0000E1", true},   // the upper limit itself
        {"hvxa", 49, "10.5", "1.0000E0", false},
        {"hvxa", 49, "-0.1", "1.0000E0", false},
        {"hvxa", 32, "-1.5E-3", "-1.5000E-3", true},  // a real without limits
        {"hvxa", 32, "", "1.0000E0", false},          // empty is not a number
        {"hvxa", 32, "abc", "1.0000E0", false},
        {"hvxa", 32, "1k", "1.0000E0", false},
        {"hvxa", 18, "2000", "2000", true},
        {"hvxa", 18, "1", "50", false},
        {"hvxa", 18, "2001", "50", false},
        {"hvxa", 3, "1.0", "0", false},               // a choice takes whole numbers only
        {"hvxa", 3, " 1", "0", false},
        {"hvxa", 3, "-1", "0", false},
        {"hvxa", 122, "6", "6", true},                // fixtures skip 3 and 5
        {"hvxa", 122, "3", "0", false},
        {"hvxa", 130, "7", "7", true},
        {"hvxa", 130, "4", "0", false},
        {"hvxa", 133, "7", "7", true},
        {"hvxa", 133, "5", "0", false},
        {"hvxa", 38, "2", "0", false},                // never the binary number format
        {"hvxa", 51, "2", "2", true},                 // low current: sine 0, square 2
        {"hvxa", 51, "1", "0", false},
        {"hvxab", 51, "1", "1", true},                // standard current: five waveforms
        {"hvxa", 48, "3.5E7", "3.5000E7", true},
        {"hvxab", 48, "2000000", "1.0000E3", false},  // standard current stops at 1.1 MHz
        {"hvxb", 20, "1100000", "1.1000E6", true},
        {"hvxa", 190, "0.1", "1.0000E-1", true},
        {"hvxab", 190, "0.1", "5.0000E0", false},
        {"hvxc", 1, "7", "7", true},
        {"hvxc", 1, "4", "1", false},                 // no mode 4 in family C
        {"hvxc", 24, "0", "1", false},                // inputs count from 1
        {"hvxc", 92, "2", "0", false},
        {"hvxc", 122, "4", "4", true},
        {"hvxc", 122, "1", "0", false},
        {"hvxc", 198, "2", "0", false},
        {"hvxc", 84, "1", "0", false},                // two channels only
        {"hvxcm", 84, "1", "1", true},
        {"hvxc", 49, "15", "1.5000E1", true},
        {"hvxc", 208, "0.00001", "1.0000E-3", false},
    };
    for (const auto& c : cases) {
        device d({"--instrument", c.instrument});
        const std::string n = std::to_string(c.parameter);
        const std::string what = std::string(c.instrument) + " config," + n + "," + c.value;
        EXPECT_EQ(d.ask("config," + n + "," + c.value), none) << what;
        EXPECT_EQ(d.ask("*esr?"), replies{c.accepted ? "0" : "48"}) << what;
        EXPECT_EQ(d.held(c.parameter), c.held_after) << what;
    }
}

TEST(HvxsimConfig, EsrGathersRefusalsUntilReadAndReadingClearsIt)
{
    device d({"--instrument", "hvxa"});
    EXPECT_EQ(d.run({"config,49,20", "config,49,2", "*ESR?", "*esr?"}), (replies{"48", "0"}));
    EXPECT_EQ(d.run({"config,10,1", "*Esr?"}), replies{"48"});  // no such parameter
    EXPECT_EQ(d.held(49), "2.0000E0");

    // An instrument without a configuration ignores config writes.
    device other({"--instrument", "trxa"});
    EXPECT_EQ(other.run({"config,1,9", "*esr?"}), replies{"0"});
}

TEST(HvxsimConfig, SuspendIsAcknowledgedThroughEsrAndNeverAnswered)
{
    device d({"--instrument", "hvxc"});
    EXPECT_EQ(d.run({"SUSPEN,ON", "*ESR?"}), replies{"0"});
    EXPECT_TRUE(d.get().snapshot().suspended);
    EXPECT_EQ(d.run(std::vector<std::string>(5, "SUSPEN,OFF")), none);
    EXPECT_FALSE(d.get().snapshot().suspended);

    device busy({"--instrument", "hvxc", "--suspend-busy"});
    for (int attempt = 0; attempt < 5; ++attempt)
        EXPECT_EQ(busy.run({"suspen,on", "*ESR?"}), replies{"1"}) << attempt;
    EXPECT_FALSE(busy.get().snapshot().suspended);
    // Writes are still judged on their own.
    EXPECT_EQ(busy.run({"config,49,2", "*esr?"}), replies{"0"});
}

TEST(HvxsimConfig, ModeCommandsSetTheModeWithoutReplyAndInputsFollow)
{
    device ak({"--instrument", "hvxa"});
    EXPECT_EQ(ak.run({"config,1,3;LCR", "*esr?"}), replies{"0"});
    EXPECT_EQ(ak.held(1), "3");
    EXPECT_EQ(ak.held(24), "1");  // LCR meter: voltage input only
    EXPECT_EQ(ak.held(25), "2");  // and the external shunt
    EXPECT_EQ(ak.run({"config,1,1;FRA", "*esr?"}), replies{"0"});
    EXPECT_EQ(ak.held(1), "1");
    EXPECT_EQ(ak.held(25), "2");  // still means something in mode 1

    device ck({"--instrument", "hvxc", "--set", "24=2", "--set", "26=3"});
    EXPECT_EQ(ck.run({"config,1,3;LCR"}), none);
    EXPECT_EQ(ck.held(1), "3");
    EXPECT_EQ(ck.held(24), "1");  // external shunt is not an input 1 in mode 3
    EXPECT_EQ(ck.held(25), "2");
    EXPECT_EQ(ck.held(26), "2");
}

TEST(HvxsimConfig, InputsMoveOnlyWhenTheNewModeGivesTheirValueNoMeaning)
{
    struct mode_case {
        const char* instrument;
        std::vector<std::string> start;  // --set arguments
        const char* mode;
        const char* expected_24;
        const char* expected_25;
        const char* expected_26;  // family C only
    };
    const mode_case cases[] = {
        {"hvxa", {"1=0", "24=0", "25=0"}, "1", "1", "1", nullptr},
        {"hvxa", {"1=0", "24=2", "25=2"}, "4", "2", "2", nullptr},
        {"hvxa", {"1=0", "24=2", "25=0"}, "6", "1", "1", nullptr},
        {"hvxa", {"1=0", "24=0", "25=1"}, "2", "1", "2", nullptr},
        {"hvxa", {"1=3", "24=1", "25=2"}, "0", "1", "2", nullptr},  // mode 0 allows everything
        {"hvxa", {"1=1", "24=0", "25=0"}, "5", "0", "0", nullptr},  // inputs written ahead of the mode
        {"hvxc", {"24=2", "25=2", "26=2"}, "6", "1", "1", "1"},
        {"hvxc", {"24=3", "25=3", "26=1"}, "6", "3", "3", "1"},
        {"hvxc", {"24=2", "25=3", "26=1"}, "2", "1", "2", "2"},
        {"hvxc", {"24=2", "25=3", "26=1"}, "5", "2", "3", "1"},     // harmonic analyser: any input
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--instrument", c.instrument};
        for (const auto& s : c.start) {
            args.push_back("--set");
            args.push_back(s);
        }
        device d(args);
        const std::string what = std::string(c.instrument) + " to mode " + c.mode + " from " + c.start[0];
        EXPECT_EQ(d.run({std::string("config,1,") + c.mode, "*esr?"}), replies{"0"}) << what;
        EXPECT_EQ(d.held(24), c.expected_24) << what;
        EXPECT_EQ(d.held(25), c.expected_25) << what;
        if (c.expected_26) {
            EXPECT_EQ(d.held(26), c.expected_26) << what;
        }
    }
}

TEST(HvxsimConfig, QueryKnobsActOnTheirParameterForTheGivenAttemptsInOrder)
{
    struct knob_case {
        std::vector<std::string> args;
        std::vector<std::string> lines;
        replies expected;
    };
    const knob_case cases[] = {
        {{"--no-reply", "12:2"}, {"config,12?", "config,12?", "config,12?"}, {"1.0000E0"}},
        {{"--no-reply", "12"}, {"config,12?", "config,12?", "config,13?"}, {"0"}},
        {{"--empty-reply", "12:1"}, {"config,12?", "config,12?"}, {"", "1.0000E0"}},
        {{"--bad-reply", "3=-1"}, {"config,3?", "config,3?"}, {"-1", "-1"}},
        {{"--bad-reply", "3= 1:1"}, {"config,3?", "config,3?"}, {" 1", "0"}},
        {{"--bad-reply", "3=abc\\x3a2:1"}, {"config,3?", "config,3?"}, {"abc:2", "0"}},
        {{"--out-of-limits", "122=3:1"}, {"config,122?", "config,122?"}, {"3", "0"}},
        {{"--out-of-limits", "49=11"}, {"config,49?"}, {"1.1000E1"}},
        // Several knobs on one parameter take turns.
        {{"--no-reply", "12:1", "--empty-reply", "12:1", "--bad-reply", "12=x:1"},
         {"config,12?", "config,12?", "config,12?", "config,12?"},
         {"", "x", "1.0000E0"}},
        // Query knobs leave writes alone, and the write knob leaves queries alone.
        {{"--no-reply", "49", "--reject-write", "12"}, {"config,49,2", "*esr?", "config,12?"}, {"0", "1.0000E0"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--instrument", "hvxa"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        device d(args);
        EXPECT_EQ(d.run(c.lines), c.expected) << c.args[0] << " " << c.args[1];
    }
}

TEST(HvxsimConfig, RejectWriteRefusesTheFirstAttemptsAndKeepsTheValue)
{
    device d({"--instrument", "hvxc", "--reject-write", "49:2"});
    EXPECT_EQ(d.run({"config,49,2", "*esr?", "config,49,2", "*esr?"}), (replies{"48", "48"}));
    EXPECT_EQ(d.held(49), "1.0000E0");
    EXPECT_EQ(d.run({"config,49,2", "*esr?"}), replies{"0"});
    EXPECT_EQ(d.held(49), "2.0000E0");
    EXPECT_EQ(d.run({"config,48,5", "*esr?"}), replies{"0"});  // other parameters unaffected

    device always({"--instrument", "hvxc", "--reject-write", "1"});
    EXPECT_EQ(always.run({"config,1,3;LCR", "*esr?", "config,1,3", "*esr?"}), (replies{"48", "48"}));
    EXPECT_EQ(always.held(1), "1");
}

TEST(HvxsimConfig, KnobAndStartValueErrorsNameTheProblem)
{
    struct error_case {
        std::vector<std::string> args;
        const char* message_part;
    };
    const error_case cases[] = {
        {{"--no-reply", "abc"}, "parameter number"},
        {{"--no-reply", "12:0"}, "attempt count"},
        {{"--bad-reply", "12"}, "N=..."},
        {{"--bad-reply", "12=\\q"}, "--bad-reply"},
        {{"--out-of-limits", "49=x"}, "not a number"},
        {{"--out-of-limits", "49=5"}, "accepts that value"},
        {{"--out-of-limits", "122=4"}, "accepts that value"},
        {{"--out-of-limits", "3=1.5"}, "whole number"},
        {{"--reject-write", "10"}, "no parameter 10"},
        {{"--set", "49=20"}, "--set 49=20"},
        {{"--set", "300=1"}, "no such parameter"},
        {{"--set", "x=1"}, "N=V"},
        {{"--set", "12"}, "N=V"},
        {{"--slow-config-ms", "-5"}, "whole number"},
        {{"--instrument", "trxa", "--set", "1=1"}, "no configuration"},
        {{"--instrument", "axp1", "--no-reply", "1"}, "no configuration"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--instrument", "hvxa"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        sim_options options;
        instrument_state state;
        std::string error;
        const bool ok = parse_options(args, options, error) && set_up_configuration(options, state, error);
        EXPECT_FALSE(ok) << c.args[0] << " " << c.args[1];
        EXPECT_NE(error.find(c.message_part), std::string::npos) << error;
    }
}

TEST(HvxsimConfig, ListingShowsEveryParameterWithItsLimitsAndCurrentValue)
{
    sim_options options;
    instrument_state state;
    std::string error;
    ASSERT_TRUE(parse_options({"--instrument", "hvxa", "--set", "49=2"}, options, error)) << error;
    ASSERT_TRUE(set_up_configuration(options, state, error)) << error;
    const std::string listing = configuration_listing("hvxa", state);
    EXPECT_EQ(listing.rfind("hvxa: ak-low-current, ", 0), 0u) << listing;
    EXPECT_EQ(std::count(listing.begin(), listing.end(), '\n'), 1 + 101);
    EXPECT_NE(listing.find("\n  49   Amplitude               real    0 to 10                 2.0000E0\n"),
              std::string::npos) << listing;
    EXPECT_NE(listing.find("\n  122  Fixture                 choice  0 1 2 4 6               0\n"),
              std::string::npos) << listing;

    EXPECT_EQ(configuration_listing("trxa", instrument_state{}), "trxa: no configuration\n");
}

TEST(HvxsimConfig, SetAndKnobsAreSharedByEveryConnection)
{
    device d({"--instrument", "hvxa", "--set", "49=7.5", "--no-reply", "12:1"});
    const wire_settings wire;
    transcript log;  // not opened: records nothing
    const auto t0 = session::clock::now();
    auto exchange = [&](const std::string& channel, const std::string& bytes) {
        session s(d.get(), wire, log, channel);
        s.connected(t0, "127.0.0.1:5000");
        s.received(bytes, t0);
        std::string out;
        for (std::string w = s.take_output(t0); !w.empty(); w = s.take_output(t0))
            out += w;
        s.input_ended();
        s.closed();
        return out;
    };
    const std::string q12 = "config,12?\n\0"s;
    EXPECT_EQ(exchange("tcp#1", q12 + "config,49?\n\0config,48,2500\n\0"s), "7.5000E0\r\n");
    // The knob's one attempt is used up; the write of the first connection stays.
    EXPECT_EQ(exchange("tcp#2", q12 + "config,48?\n\0"s), "1.0000E0\r\n2.5000E3\r\n");
}

TEST(HvxsimConfig, SlowConfigDelaysOnlyConfigQueriesAndAResetDropsTheReply)
{
    device d({"--instrument", "hvxc", "--slow-config-ms", "250"});
    const wire_settings wire;
    transcript log;
    const auto t0 = session::clock::now();
    session s(d.get(), wire, log, "tcp#1");
    s.connected(t0, "127.0.0.1:5000");

    s.received("config,48?\n\0"s, t0);
    EXPECT_EQ(s.next_write_time(), t0 + 250ms);
    EXPECT_EQ(s.take_output(t0 + 249ms), "");
    EXPECT_EQ(s.take_output(t0 + 250ms), "1.0000E3\r\n");

    s.received("*esr?\n\0"s, t0 + 1s);
    EXPECT_EQ(s.take_output(t0 + 1s), "0\r\n");

    s.received("config,48?\n\0"s, t0 + 2s);
    s.received("\x14\0"s, t0 + 2s + 100ms);
    EXPECT_FALSE(s.next_write_time());
    EXPECT_EQ(s.take_output(t0 + 3s), "");
}

}  // namespace
