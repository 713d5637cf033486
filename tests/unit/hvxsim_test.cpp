// The simulator's building blocks on their own: the binary number encoder
// against a plain reference decoder, escaping, command patterns, line
// framing, identity presets and the command line.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <string>
#include <vector>

#include "sim/binary_value.h"
#include "sim/c_escape.h"
#include "sim/command_pattern.h"
#include "sim/identity_presets.h"
#include "sim/line_framer.h"
#include "sim/reply_overrides.h"
#include "sim/sim_options.h"
#include "sim/simulator.h"

namespace {

using namespace hvxsim;

// Straight from the byte map: exponent in bits 0-6 of byte 0 (7-bit two's
// complement), sign in bit 6 of byte 1, bit 5 of byte 1 marks a non-zero
// value, mantissa bits 19-14, 13-7, 6-0 in bytes 1, 2, 3.
double reference_decode(const binary_value& b)
{
    if (!(b[1] & 0x20))
        return 0.0;
    int exponent = b[0] & 0x3F;
    if (b[0] & 0x40)
        exponent -= 64;
    const long mantissa = (static_cast<long>(b[1] & 0x3F) << 14) | ((b[2] & 0x7F) << 7) | (b[3] & 0x7F);
    const double magnitude = static_cast<double>(mantissa) / 1048576.0 * std::pow(2.0, exponent);
    return (b[1] & 0x40) ? -magnitude : magnitude;
}

TEST(HvxsimBinaryValue, RoundTripsThroughReferenceDecodeWithin20Bits)
{
    const double values[] = {0.5,    1.0,   -1.0,    1234.5, -1234.5, 3.14159265, 1e-10, -2.5e-7,
                             1e6,    1e15,  0.75,    -0.001, 49999.9, 1e-19,      4e18,  0.999999};
    for (double v : values) {
        const binary_value b = encode_binary_value(v);
        EXPECT_NEAR(reference_decode(b), v, std::fabs(v) * std::ldexp(1.0, -20)) << v;
        EXPECT_EQ(b[0] & 0x80, 0x80) << v;
        EXPECT_EQ(b[4], ',') << v;
        for (unsigned char byte : b)
            EXPECT_TRUE(byte != '\r' && byte != '\n' && byte != '\0') << v;
    }
}

TEST(HvxsimBinaryValue, ExactBytesAndEdges)
{
    struct exact_case {
        double value;
        binary_value bytes;
    };
    const exact_case cases[] = {
        {0.5, {0x80, 0xA0, 0x80, 0x80, ','}},    // e 0, mantissa 2^19
        {1.0, {0x81, 0xA0, 0x80, 0x80, ','}},    // e 1
        {-0.75, {0x80, 0xF0, 0x80, 0x80, ','}},  // sign, mantissa 0b11 << 18
        {0.0, {0x80, 0x80, 0x80, 0x80, ','}},    // bit 5 of byte 1 clear
        {-0.0, {0x80, 0x80, 0x80, 0x80, ','}},
        {std::ldexp(0.5, -63), {0xC1, 0xA0, 0x80, 0x80, ','}},  // e -63
    };
    for (const auto& c : cases)
        EXPECT_EQ(encode_binary_value(c.value), c.bytes) << c.value;

    // Rounding the mantissa up to 2^20 renormalises instead of overflowing.
    EXPECT_EQ(reference_decode(encode_binary_value(1.0 - std::ldexp(1.0, -23))), 1.0);
    // Out of range: saturate at the largest magnitude, or flush to zero.
    const double largest = reference_decode(encode_binary_value(1e300));
    EXPECT_NEAR(largest, std::ldexp(1.0, 63), std::ldexp(1.0, 44));
    EXPECT_EQ(reference_decode(encode_binary_value(-INFINITY)), -largest);
    EXPECT_EQ(reference_decode(encode_binary_value(1e-30)), 0.0);
    EXPECT_EQ(reference_decode(encode_binary_value(NAN)), 0.0);

    EXPECT_EQ(encode_binary_values({0.5, 1.0}), std::string("\x80\xA0\x80\x80,\x81\xA0\x80\x80,", 10));
}

TEST(HvxsimEscape, EscapesControlAndHighBytesAndRoundTrips)
{
    const std::string raw("*IDN?\r\n\0\t\\\"\x14\x80\xFF~ ", 16);
    EXPECT_EQ(c_escape(raw), "*IDN?\\r\\n\\0\\t\\\\\\\"\\x14\\x80\\xFF~ ");
    std::string back;
    std::string error;
    ASSERT_TRUE(c_unescape(c_escape(raw), back, error)) << error;
    EXPECT_EQ(back, raw);

    ASSERT_TRUE(c_unescape("a\\024b\\x4a\\x7", back, error)) << error;
    EXPECT_EQ(back, "a\x14" "bJ\x07");

    for (const char* bad : {"ends\\", "\\q", "\\xZZ"})
        EXPECT_FALSE(c_unescape(bad, back, error)) << bad;
}

TEST(HvxsimCommandPattern, MatchesCaseInsensitivelyWithCaptures)
{
    struct pattern_case {
        const char* pattern;
        const char* line;
        bool matches;
        std::vector<std::string> captures;
    };
    const pattern_case cases[] = {
        {"*IDN?", "*IDN?", true, {}},
        {"*IDN?", "*idn?", true, {}},
        {"*IDN?", "*IDN? ", false, {}},
        {"*IDN?", "*IDN", false, {}},
        {"config,{n}?", "CONFIG,12?", true, {"12"}},
        {"config,{n}?", "config,-3?", true, {"-3"}},
        {"config,{n}?", "config,?", false, {}},
        {"config,{n}?", "config,1a?", false, {}},
        {"config,{n},{text}", "config,7,1.5E3", true, {"7", "1.5E3"}},
        {"config,{n},{text}", "config,7,", true, {"7", ""}},
        {"config,{n},{text};{text}", "config,1,1;FRA", true, {"1", "1", "FRA"}},
    };
    for (const auto& c : cases) {
        command_args args;
        EXPECT_EQ(match_command(c.pattern, c.line, args), c.matches) << c.pattern << " / " << c.line;
        if (c.matches) {
            EXPECT_EQ(args, c.captures) << c.pattern << " / " << c.line;
        }
    }
}

// Renders framer events as text for compact expectations: commands as
// themselves, resets as "<reset>", overlong lines as "<overlong>".
std::vector<std::string> frame(line_framer& framer, std::string_view bytes)
{
    std::vector<std::string> out;
    for (const auto& e : framer.feed(bytes)) {
        switch (e.type) {
        case framer_event::kind::command:
            out.push_back(e.line);
            break;
        case framer_event::kind::reset:
            out.push_back("<reset>");
            break;
        case framer_event::kind::overlong:
            out.push_back("<overlong>");
            break;
        }
    }
    return out;
}

TEST(HvxsimLineFramer, DropsNulsStripsCrBeforeLfAndResets)
{
    struct framing_case {
        const char* name;
        std::string bytes;
        std::vector<std::string> events;
    };
    using v = std::vector<std::string>;
    const framing_case cases[] = {
        {"tcp framing", std::string("*IDN?\n\0", 7), v{"*IDN?"}},
        {"serial framing", "*IDN?\n", v{"*IDN?"}},
        {"CR LF", "*IDN?\r\n", v{"*IDN?"}},
        {"only the CR before LF goes", "a\rb\r\r\n", v{"a\rb\r"}},
        {"NULs inside a line", std::string("*I\0DN?\n", 7), v{"*IDN?"}},
        {"reset drops the partial line", std::string("*ID\x14\0*IDN?\n\0", 12), v{"<reset>", "*IDN?"}},
        {"empty lines are not commands", "\n\r\n\nx\n", v{"x"}},
        {"two commands", "a\nb\n", v{"a", "b"}},
    };
    for (const auto& c : cases) {
        line_framer framer;
        EXPECT_EQ(frame(framer, c.bytes), c.events) << c.name;
    }

    // A line may arrive in pieces; the partial line waits for the rest.
    line_framer framer;
    EXPECT_TRUE(frame(framer, "*ID").empty());
    EXPECT_EQ(frame(framer, std::string("N?\n\0", 4)), v{"*IDN?"});

}

TEST(HvxsimLineFramer, OverlongLineIsDiscardedWholeUpToItsLineEndOrAReset)
{
    using v = std::vector<std::string>;
    const std::string longest(line_framer::max_line_length, 'x');
    line_framer framer;
    EXPECT_EQ(frame(framer, longest + "\n"), v{longest});

    // One byte more: reported once, never run cut short, however much follows.
    EXPECT_EQ(frame(framer, longest + "y"), v{"<overlong>"});
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(frame(framer, longest).empty()) << i;
    EXPECT_EQ(frame(framer, "z\n*IDN?\n"), v{"*IDN?"});

    // A reset ends the discarding too.
    EXPECT_EQ(frame(framer, longest + "y"), v{"<overlong>"});
    EXPECT_EQ(frame(framer, "rest\x14*IDN?\n"), (v{"<reset>", "*IDN?"}));
}

TEST(HvxsimIdentityPresets, CoverEveryModelFamilyWithUniqueKeys)
{
    struct expected_preset {
        const char* key;
        const char* starts_with;
    };
    const expected_preset expected[] = {
        {"hvxa", "ZELVORIAN,HVXA1735,10234,2.17"},
        {"hvxab", "ZELVORIAN,HVXAB"},
        {"hvxb", "ZELVORIAN,HVXB"},
        {"hvxc", "ZELVORIAN,HVXC"},
        {"hvxcm", "ZELVORIAN,HVXCM"},
        {"trxa", "ZELVORIAN,TRXA"},
        {"trxb", "ZELVORIAN,TRXB"},
        {"oktaven", "OKTAVEN,TRX"},
        {"axp1", "Quelvar,AXP1"},
        {"axp4", "Quelvar,AXP4"},
        {"wxe5", "Quelvar,WXE5"},
        {"qlm", "Quelvar,QLM"},
        {"qca", "Quelvar,QCA"},
        {"quelvar", "Quelvar,"},
        {"volmerq", "ZELVORIAN,VOLMERQ"},
    };
    for (const auto& e : expected) {
        const identity_preset* p = find_identity_preset(e.key);
        ASSERT_NE(p, nullptr) << e.key;
        EXPECT_TRUE(identity_text(*p).starts_with(e.starts_with)) << identity_text(*p);
    }
    // hvxa must not look like the AB code, nor hvxc like the CM variant.
    EXPECT_FALSE(identity_text(*find_identity_preset("hvxa")).starts_with("ZELVORIAN,HVXAB"));
    EXPECT_FALSE(identity_text(*find_identity_preset("hvxc")).starts_with("ZELVORIAN,HVXCM"));

    for (const auto& p : identity_presets()) {
        int commas = 0;
        for (char c : identity_text(p))
            commas += c == ',';
        EXPECT_EQ(commas, 3) << p.key;  // maker,model,serial,firmware
        int same_key = 0;
        for (const auto& q : identity_presets())
            same_key += p.key == q.key;
        EXPECT_EQ(same_key, 1) << p.key;
    }
    EXPECT_EQ(find_identity_preset("HVXA"), nullptr);
}

TEST(HvxsimOptions, ParsesEveryOptionIntoItsField)
{
    sim_options o;
    std::string error;
    ASSERT_TRUE(parse_options({"--address", "127.0.0.45", "--port", "0", "--serial-link", "/tmp/x", "--transcript",
                               "t.txt", "--instrument", "hvxcm", "--idn", "A,B,C,D", "--silent", "--idn-from", "3",
                               "--delay-ms", "20", "--trickle-ms", "5", "--bare-lf", "--stream-ms", "0", "--refuse",
                               "--raw-reply", "X?=a\\tb", "--burst", "B?=3x10", "--big-reply", "G?=9000",
                               "--binary-reply", "V?=0.5,-1", "--exact-reply", "E?=\\x00\\x80", "--endless-reply",
                               "FOREVER?", "--idle-timeout-s", "0"},
                              o, error))
        << error;
    EXPECT_EQ(o.address, "127.0.0.45");
    EXPECT_EQ(o.port, 0);
    EXPECT_TRUE(o.serial);
    EXPECT_EQ(o.serial_link, "/tmp/x");
    EXPECT_EQ(o.transcript_path, "t.txt");
    EXPECT_EQ(o.instrument_key, "hvxcm");
    EXPECT_EQ(o.idn, "A,B,C,D");
    EXPECT_TRUE(o.silent);
    EXPECT_EQ(o.idn_from, 3u);
    EXPECT_EQ(o.delay_ms, 20u);
    EXPECT_EQ(o.trickle_ms, 5u);
    EXPECT_TRUE(o.bare_lf);
    EXPECT_EQ(o.stream_ms, 0u);
    EXPECT_TRUE(o.refuse);
    EXPECT_EQ(o.idle_timeout_s, 0u);
    ASSERT_EQ(o.overrides.size(), 6u);
    EXPECT_EQ(o.overrides[0].command, "X?");
    EXPECT_EQ(o.overrides[0].lines, reply_lines{"a\tb"});
    EXPECT_EQ(o.overrides[1].lines, (reply_lines{filler_line(1, 10), filler_line(2, 10), filler_line(3, 10)}));
    ASSERT_EQ(o.overrides[2].lines.size(), 1u);
    EXPECT_EQ(o.overrides[2].lines[0].size(), 9000u);
    EXPECT_EQ(o.overrides[3].lines, reply_lines{encode_binary_values({0.5, -1})});
    EXPECT_TRUE(o.overrides[0].line_ends);
    EXPECT_EQ(o.overrides[4].lines, reply_lines{std::string("\0\x80", 2)});
    EXPECT_FALSE(o.overrides[4].line_ends);
    EXPECT_EQ(o.overrides[5].command, "FOREVER?");
    EXPECT_TRUE(o.overrides[5].endless);

    sim_options defaults;
    ASSERT_TRUE(parse_options({}, defaults, error)) << error;
    EXPECT_EQ(defaults.idle_timeout_s, 30u);
    EXPECT_EQ(wire_settings_from(defaults).idle_timeout, std::chrono::seconds(30));
}

TEST(HvxsimOptions, IdentityComesFromIdnTextElseThePreset)
{
    struct identity_case {
        std::vector<std::string> args;
        std::string identity;
    };
    const identity_case cases[] = {
        {{}, "ZELVORIAN,HVXA1735,10234,2.17"},
        {{"--instrument", "hvxcm"}, "ZELVORIAN,HVXCM1740,12460,3.05"},
        {{"--instrument", "hvxcm", "--idn", "zelvorian,HVXA1,1,1"}, "zelvorian,HVXA1,1,1"},
        {{"--idn", ""}, ""},
    };
    for (const auto& c : cases) {
        sim_options o;
        std::string error;
        ASSERT_TRUE(parse_options(c.args, o, error)) << error;
        EXPECT_EQ(identity_from(o), c.identity);
    }
}

TEST(HvxsimOptions, RejectsBadArgumentsWithAMessage)
{
    using args = std::vector<std::string>;
    const args bad[] = {
        {"--bogus"},
        {"--port"},
        {"--port", "65536"},
        {"--port", "12ab"},
        {"--address", "10.0.0.1"},
        {"--address", "127.0.0"},
        {"--address", "127.0.0.256"},
        {"--address", "127.0.0.1.5"},
        {"--instrument", "hvxz"},
        {"--idn-from", "0"},
        {"--delay-ms", "-1"},
        {"--binary-reply", "V?"},
        {"--binary-reply", "V?=1,x"},
        {"--binary-reply", "=1"},
        {"--raw-reply", "X?=bad\\q"},
        {"--exact-reply", "X?"},
        {"--exact-reply", "X?=\\x"},
        {"--endless-reply", ""},
        {"--endless-reply"},
        {"--idle-timeout-s", "-1"},
        {"--idle-timeout-s", "1.5"},
        {"--idle-timeout-s", "3601"},
        {"--burst", "B?=10x"},
        {"--burst", "B?=100000000x100"},
        {"--big-reply", "G?=100000000000"},
        {"--no-tcp"},
    };
    for (const auto& a : bad) {
        sim_options o;
        std::string error;
        EXPECT_FALSE(parse_options(a, o, error)) << a[0];
        EXPECT_FALSE(error.empty()) << a[0];
    }
    sim_options o;
    std::string error;
    EXPECT_TRUE(parse_options({"--no-tcp", "--serial"}, o, error)) << error;
}

TEST(HvxsimFiller, LinesHaveExactLengthAndDistinctNumbers)
{
    EXPECT_EQ(filler_line(1, 70).size(), 70u);
    EXPECT_EQ(filler_line(12, 10), "000012:ABC");
    EXPECT_EQ(filler_line(3, 4), "0000");
    EXPECT_EQ(filler_line(3, 0), "");
    for (char c : filler_line(7, 200))
        EXPECT_TRUE(c >= 0x20 && c <= 0x7E);
}

}  // namespace
