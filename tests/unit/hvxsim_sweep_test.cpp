// The simulator's measurements driven in-process with a made-up clock: the
// "DAV?" state machine, which commands go unanswered, and every reply form
// of the sweep and reading commands, checked against the program's strict
// field check and against the device's H(f) or Z(f) computed here. Then
// whole sweeps over loopback TCP as a sweep worker runs them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "graph/number_format.h"
#include "sim/config_setup.h"
#include "sim/instrument.h"
#include "sim/session.h"
#include "sim/sim_options.h"
#include "sim/sweep_setup.h"
#include "support/sim_process.h"
#include "support/sim_state.h"

namespace {

using namespace hvxsim;
using namespace std::chrono_literals;
using namespace std::string_literals;
using complex = std::complex<double>;
using replies = std::vector<std::string>;

constexpr double pi = 3.14159265358979323846;

// An instrument set up from simulator arguments, on a clock the test moves.
class device {
public:
    explicit device(const std::vector<std::string>& args) : device_(sim_state_from_words(args))
    {
        device_.set_clock([this] { return now_; });
    }

    replies ask(const std::string& line) { return device_.execute(line); }
    instrument_response respond(const std::string& line) { return device_.respond(line); }
    unsigned dav()
    {
        const replies r = ask("DAV?");
        EXPECT_EQ(r.size(), 1u);
        return r.empty() ? 999u : static_cast<unsigned>(std::stoul(r[0]));
    }
    void advance(std::chrono::microseconds by) { now_ += by; }
    instrument& get() { return device_; }

private:
    std::chrono::steady_clock::time_point now_{std::chrono::hours(1)};
    instrument device_;
};

// A reply line as the program reads it: every field through the strict
// check. Fails the test unless all `expected` fields pass.
std::vector<double> strict_values(const std::string& line, std::size_t expected)
{
    std::vector<double> values(16, 0.0);
    const int count = parse_value_list_strict(line.c_str(), line.size(), values.data(), 16);
    EXPECT_EQ(static_cast<std::size_t>(count), expected) << line;
    values.resize(static_cast<std::size_t>(std::max(count, 0)));
    return values;
}

// The printed form keeps five significant digits.
void expect_close(double got, double want, const std::string& what)
{
    EXPECT_NEAR(got, want, 6e-5 * std::fabs(want) + 1e-300) << what;
}

double degrees(complex value)
{
    return std::arg(value) * 180.0 / pi;
}

TEST(HvxsimSweep, DataReadyBitsFollowTheSweepAndTheGeneratorFrequency)
{
    device d({"--instrument", "hvxc", "--set", "18=40", "--point-ms", "5", "--settle-ms", "30"});
    EXPECT_EQ(d.dav(), 7u);  // nothing pending after power-up

    EXPECT_EQ(d.ask("out,on"), replies{});
    EXPECT_EQ(d.ask("start"), replies{});
    EXPECT_EQ(d.dav(), 3u);
    d.advance(199ms + 999us);  // 40 steps x 5 ms
    EXPECT_EQ(d.dav(), 3u);
    d.advance(1us);
    EXPECT_EQ(d.dav(), 7u);

    EXPECT_EQ(d.ask("config,48,2.5E3"), replies{});
    EXPECT_EQ(d.dav(), 4u);
    d.advance(29ms);
    EXPECT_EQ(d.dav(), 4u);
    // A new start keeps the point bits as they are.
    EXPECT_EQ(d.ask("start"), replies{});
    EXPECT_EQ(d.dav(), 0u);
    d.advance(1ms);
    EXPECT_EQ(d.dav(), 3u);
    d.advance(200ms);
    EXPECT_EQ(d.dav(), 7u);

    // A refused write leaves the generator, and the bits, alone; so does a
    // write of another parameter.
    EXPECT_EQ(d.ask("config,48,1E12"), replies{});
    EXPECT_EQ(d.ask("config,49,2"), replies{});
    EXPECT_EQ(d.dav(), 7u);
    EXPECT_EQ(d.ask("*esr?"), replies{"48"});
    // One line of several commands retunes as well.
    EXPECT_EQ(d.ask("config,48,1.0E2;DAV?"), replies{"4"});
}

TEST(HvxsimSweep, ARefusedWriteOfTheFrequencyKeepsTheRegisterItHeld)
{
    device d({"--instrument", "hvxc", "--reject-write", "48:1", "--suspend-busy"});
    EXPECT_EQ(d.ask("SUSPEN,ON"), replies{});  // ESR 1
    const instrument_response refused = d.respond("config,48,2E3");
    ASSERT_EQ(refused.notes.size(), 1u);
    EXPECT_NE(refused.notes[0].find("write refused (--reject-write)"), std::string::npos) << refused.notes[0];
    EXPECT_NE(refused.notes[0].find("ESR 49"), std::string::npos) << refused.notes[0];
    EXPECT_EQ(d.dav(), 7u);
    EXPECT_EQ(d.ask("*ESR?"), replies{"49"});
    EXPECT_EQ(d.ask("config,48,2E3"), replies{});
    EXPECT_EQ(d.dav(), 4u);
}

TEST(HvxsimSweep, WaitHoldsTheReadingUntilThePointHasSettled)
{
    device d({"--instrument", "hvxa", "--settle-ms", "250", "--dut", "rc-lowpass:fc=1000"});
    EXPECT_EQ(d.ask("config,48,1.0E3"), replies{});
    d.advance(100ms);
    const instrument_response held = d.respond("*wai;fra?");
    EXPECT_EQ(held.delay, 150ms);
    ASSERT_EQ(held.lines.size(), 1u);
    const auto values = strict_values(held.lines[0], 6);
    expect_close(values[3], -3.0103, "gain at the corner");
    d.advance(150ms);
    EXPECT_EQ(d.respond("*wai;fra?").delay, 0ms);
    // A plain reading does not wait.
    EXPECT_EQ(d.ask("config,48,2.0E3"), replies{});
    EXPECT_EQ(d.respond("fra?").delay, 0ms);
}

// The 6 (or 10) values of one transfer point of H at f, amplitude a.
void expect_transfer_point(const std::vector<double>& v, double f, complex h, double a, int convention,
                           const std::string& what)
{
    auto in_convention = [&](double phase) {
        if (convention == 1 && phase > 0)
            return phase - 360;
        if (convention == 2 && phase < 0)
            return phase + 360;
        return phase;
    };
    expect_close(v[0], f, what + " frequency");
    expect_close(v[1], a, what + " magnitude 1");
    expect_close(v[2], std::abs(h) * a, what + " magnitude 2");
    expect_close(v[3], 20 * std::log10(std::abs(h)), what + " gain");
    const double phase = in_convention(degrees(h));
    expect_close(v[4], phase, what + " phase");
    expect_close(v[5], -phase / (360 * f), what + " delay");
    if (v.size() == 10) {
        const complex h2 = h * h;
        const double phase2 = in_convention(degrees(h2));
        expect_close(v[6], std::abs(h2) * a, what + " magnitude 3");
        expect_close(v[7], 40 * std::log10(std::abs(h)), what + " gain 2");
        expect_close(v[8], phase2, what + " phase 2");
        expect_close(v[9], -phase2 / (360 * f), what + " delay 2");
    }
}

TEST(HvxsimSweep, TransferSweepGivesOneLinePerStepInEveryChannelForm)
{
    const struct {
        std::vector<std::string> args;
        std::size_t values;
    } cases[] = {
        {{"--instrument", "hvxa"}, 6},
        {{"--instrument", "hvxc", "--set", "6=1"}, 6},
        {{"--instrument", "hvxcm", "--set", "84=0", "--set", "6=2"}, 6},
        {{"--instrument", "hvxcm", "--set", "84=1", "--set", "6=1"}, 10},
    };
    const double fc = 300;
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (const char* a : {"--set", "18=7", "--set", "19=10", "--set", "20=1.0E5", "--set", "49=2.5", "--dut",
                              "rc-lowpass:fc=300"})
            args.push_back(a);
        device d(args);
        const int convention = std::stoi(d.ask("config,6?").at(0));
        const replies lines = d.ask("gainph,sweep?");
        const std::string what = c.args[1] + " " + std::to_string(c.values);
        ASSERT_EQ(lines.size(), 7u) << what;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double f = 10 * std::pow(10.0, static_cast<double>(i) * 4 / 6);
            const auto values = strict_values(lines[i], c.values);
            if (values.size() == c.values)
                expect_transfer_point(values, f, 1.0 / complex(1, f / fc), 2.5, convention,
                                      what + " line " + std::to_string(i));
        }
    }
}

TEST(HvxsimSweep, ReadingAgreesWithTheSweepLineAtTheSameFrequency)
{
    device d({"--instrument", "hvxcm", "--set", "84=1", "--set", "18=5", "--set", "19=100", "--set", "20=1.0E4",
              "--dut", "loop"});
    const replies lines = d.ask("gainph,sweep?");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(d.ask("config,48,1.0000E3"), replies{});
    EXPECT_EQ(d.ask("fra?"), replies{lines[2]});
    EXPECT_EQ(d.ask("*wai;fra?"), replies{lines[2]});
    // The loop's gain margin is at w = p sqrt(3), p = 2 pi 100: 6 dB, phase -180.
    EXPECT_EQ(d.ask("config,48," + std::to_string(100 * std::sqrt(3.0))), replies{});
    const auto values = strict_values(d.ask("fra?").at(0), 10);
    expect_close(values[3], -6.0206, "gain at the phase crossover");
    EXPECT_NEAR(std::fabs(values[4]), 180, 0.01);
}

// Z split into the instrument's terms, computed here from Z alone.
struct terms {
    double r, x, mag, phase, g, b, ymag, yphase, ls, cs, rp, lp, cp, q, d;
};

terms terms_of(complex z, double f)
{
    const double w = 2 * pi * f;
    const complex y = 1.0 / z;
    return {z.real(),      z.imag(),           std::abs(z),
            degrees(z),    y.real(),           y.imag(),
            std::abs(y),   degrees(y),         z.imag() / w,
            -1 / (w * z.imag()), 1 / y.real(), -1 / (w * y.imag()),
            y.imag() / w,  std::fabs(z.imag()) / z.real(), z.real() / std::fabs(z.imag())};
}

void expect_values(const std::vector<double>& got, const std::vector<double>& want, const std::string& what)
{
    ASSERT_EQ(got.size(), want.size()) << what;
    for (std::size_t i = 0; i < got.size(); ++i)
        expect_close(got[i], want[i], what + " value " + std::to_string(i));
}

TEST(HvxsimSweep, ImpedanceSweepLinesFollowTheLayoutTheInstrumentChooses)
{
    const double f0 = 100, f1 = 1.0E4;
    auto z_at = [](double f) {  // the randles cell below
        const double w = 2 * pi * f;
        const complex faradaic = complex(250 + 40 / std::sqrt(w), -40 / std::sqrt(w));
        return 5.0 + 1.0 / (complex(0, w * 2e-6) + 1.0 / faradaic);
    };
    const struct {
        std::vector<std::string> args;
        const char* name;
    } cases[] = {
        {{"--instrument", "hvxc", "--set", "137=4"}, "admittance"},
        {{"--instrument", "hvxc", "--set", "137=3"}, "impedance"},
        {{"--instrument", "hvxcm", "--set", "137=0"}, "full"},
        {{"--instrument", "hvxc", "--set", "137=1"}, "full"},
        {{"--instrument", "hvxa", "--set", "137=4", "--set", "138=0"}, "series"},
        {{"--instrument", "hvxb", "--set", "138=1"}, "parallel"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        for (const char* a : {"--set", "18=3", "--set", "19=100", "--set", "20=1.0E4", "--dut",
                              "randles:rs=5,rct=250,cdl=2e-6,sigma=40"})
            args.push_back(a);
        device d(args);
        const replies lines = d.ask("LCR,SWEEP?");
        ASSERT_EQ(lines.size(), 3u) << c.name;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const double f = f0 * std::pow(f1 / f0, static_cast<double>(i) / 2);
            const terms t = terms_of(z_at(f), f);
            const std::string name = c.name;
            std::vector<double> want;
            if (name == "admittance")
                want = {f, t.g, t.b, t.ymag, t.yphase};
            else if (name == "impedance")
                want = {f, t.r, t.x, t.mag, t.phase};
            else if (name == "full")
                want = {f, t.q, t.d, t.mag, t.phase, t.ls, t.cs, t.r, t.ymag, t.yphase, t.lp, t.cp, t.rp};
            else if (name == "series")
                want = {f, t.q, t.d, t.mag, t.phase, t.ls, t.cs, t.r};
            else
                want = {f, t.q, t.d, t.mag, t.phase, t.lp, t.cp, t.rp};
            expect_values(strict_values(lines[i], want.size()), want, name + " line " + std::to_string(i));
        }
    }
}

TEST(HvxsimSweep, ImpedanceReadingsHoldElevenOrFourteenValues)
{
    const double f = 1000, a = 0.5;
    const complex z = complex(10, 2 * pi * f * 1e-3 - 1 / (2 * pi * f * 1e-6));
    const terms t = terms_of(z, f);
    const std::vector<double> eleven = {f, a, a / t.mag, t.mag, t.phase, t.r, t.x, t.ymag, t.yphase, t.g, t.b};
    const std::vector<double> fourteen = {f,    a,    a / t.mag, t.mag, t.phase, t.r, t.ls,
                                          t.cs, t.rp, t.lp,      t.cp,  t.d,     t.q, t.x};
    for (const char* quantity : {"137=3", "137=4"}) {
        device d({"--instrument", "hvxc", "--set", quantity, "--set", "48=1.0E3", "--set", "49=0.5", "--dut",
                  "series-rlc"});
        expect_values(strict_values(d.ask("lcr?").at(0), 11), eleven, quantity);
    }
    for (const char* key : {"hvxa", "hvxc"}) {
        device d({"--instrument", key, "--set", "137=0", "--set", "48=1.0E3", "--set", "49=0.5", "--dut",
                  "series-rlc"});
        expect_values(strict_values(d.ask("lcr?").at(0), 14), fourteen, key);
    }
}

TEST(HvxsimSweep, LosslessPartsAndPureResistorsStillPassTheStrictCheck)
{
    // A pure resistor has no L or C (0) and no Q; a pure capacitor has no
    // parallel R and no loss, so those are infinite: the largest value the
    // form holds, never a sign flipped by a negative zero.
    device resistor({"--instrument", "hvxc", "--set", "137=0", "--set", "18=2", "--dut", "resistor:r=50"});
    for (const auto& line : resistor.ask("LCR,SWEEP?")) {
        const auto v = strict_values(line, 13);
        EXPECT_EQ(v[1], 0.0);
        EXPECT_EQ(v[2], 9.9999e99);
        EXPECT_EQ(v[5], 0.0);
        EXPECT_EQ(v[6], 0.0);
        expect_close(v[12], 50, "parallel R");
    }
    device capacitor({"--instrument", "hvxc", "--set", "137=0", "--set", "18=2", "--dut", "capacitor"});
    for (const auto& line : capacitor.ask("LCR,SWEEP?")) {
        const auto v = strict_values(line, 13);
        EXPECT_EQ(v[1], 9.9999e99);
        EXPECT_EQ(v[12], 9.9999e99);
        expect_close(v[6], 1e-6, "series C");
    }
}

TEST(HvxsimSweep, InstrumentsWithoutAConfigurationDoNotMeasure)
{
    device d({"--instrument", "trxa"});
    for (const char* command : {"DAV?", "gainph,sweep?", "fra?", "LCR,SWEEP?", "lcr?", "start"})
        EXPECT_EQ(d.ask(command), replies{}) << command;
}

// How many values the strict check takes from each line of a reply.
std::vector<int> strict_counts(const replies& lines)
{
    std::vector<int> counts;
    for (const auto& line : lines) {
        double values[16];
        counts.push_back(parse_value_list_strict(line.c_str(), line.size(), values, 16));
    }
    return counts;
}

TEST(HvxsimSweep, LineKnobsShapeEverySweepReply)
{
    const struct {
        std::vector<std::string> knobs;
        std::vector<int> fra;  // values per line of a 4-step "gainph,sweep?"
        const char* note;
    } cases[] = {
        {{}, {6, 6, 6, 6}, ""},
        {{"--bad-line-first"}, {1, 6, 6, 6, 6}, "bad line first (--bad-line-first)"},
        {{"--bad-line-after", "2"}, {6, 6, 1, 6, 6}, "bad line after point 2 (--bad-line-after)"},
        {{"--bad-line-after", "4"}, {6, 6, 6, 6, 1}, "bad line after point 4 (--bad-line-after)"},
        {{"--bad-line-after", "5"}, {6, 6, 6, 6}, ""},
        {{"--silent-after", "3"}, {6, 6, 6}, "silent after line 3 (--silent-after)"},
        {{"--silent-after", "0"}, {}, "silent after line 0 (--silent-after)"},
        {{"--bad-line-first", "--bad-line-after", "1", "--silent-after", "3"},
         {1, 6, 1},
         "bad line after point 1 (--bad-line-after); bad line first (--bad-line-first); silent after line 3 "
         "(--silent-after)"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"--instrument", "hvxc", "--set", "18=4", "--set", "137=3"};
        args.insert(args.end(), c.knobs.begin(), c.knobs.end());
        device d(args);
        const instrument_response fra = d.respond("gainph,sweep?");
        EXPECT_EQ(strict_counts(fra.lines), c.fra) << args.back();
        EXPECT_EQ(fra.notes, std::string(c.note).empty() ? std::vector<std::string>{}
                                                         : std::vector<std::string>{c.note})
            << args.back();
        std::vector<int> lcr = c.fra;
        std::replace(lcr.begin(), lcr.end(), 6, 5);
        EXPECT_EQ(strict_counts(d.ask("LCR,SWEEP?")), lcr) << args.back();
        // Readings are single points, never shaped.
        EXPECT_EQ(strict_counts(d.ask("fra?")), std::vector<int>{6});
    }
}

TEST(HvxsimSweep, NeverReadyHidesEveryDataReadyBit)
{
    device d({"--instrument", "hvxa", "--never-ready"});
    EXPECT_EQ(d.dav(), 0u);
    EXPECT_EQ(d.ask("start"), replies{});
    d.advance(std::chrono::hours(1));
    EXPECT_EQ(d.dav(), 0u);
}

TEST(HvxsimSweep, NoiseRepeatsForASeedAndStaysNearTheDevice)
{
    auto sweep = [](const std::vector<std::string>& knobs) {
        std::vector<std::string> args = {"--instrument", "hvxc", "--set", "18=50", "--dut", "rc-lowpass"};
        args.insert(args.end(), knobs.begin(), knobs.end());
        device d(args);
        return d.ask("gainph,sweep?");
    };
    const replies clean = sweep({});
    const replies noisy = sweep({"--noise", "0.001"});
    EXPECT_EQ(sweep({"--noise", "0.001:1"}), noisy);
    EXPECT_NE(sweep({"--noise", "0.001:2"}), noisy);
    ASSERT_EQ(noisy.size(), clean.size());
    int differing = 0;
    for (std::size_t i = 0; i < clean.size(); ++i) {
        const auto a = strict_values(clean[i], 6);
        const auto b = strict_values(noisy[i], 6);
        differing += a[2] != b[2];
        EXPECT_NEAR(b[2], a[2], 0.01 * a[2]) << i;  // ten standard deviations
        EXPECT_NEAR(b[4], a[4], 0.6) << i;
    }
    EXPECT_GT(differing, 25);
}

TEST(HvxsimSweep, MeasurementKnobErrorsNameTheProblem)
{
    const struct {
        std::vector<std::string> args;
        const char* message;
    } cases[] = {
        {{"--noise", "2"}, "--noise: expected a relative noise from 0 to 1, got \"2\""},
        {{"--noise", "0.1:x"}, "--noise: expected a whole number"},
        {{"--silent-after", "2001"}, "--silent-after: expected a whole number from 0 to 2000"},
        {{"--bad-line-after", "-1"}, "--bad-line-after: expected a whole number"},
        {{"--point-ms", "x"}, "--point-ms: expected a whole number"},
        {{"--slow-lines-ms", "-5"}, "--slow-lines-ms: expected a whole number from 0 to 3600000"},
    };
    for (const auto& c : cases) {
        sim_options options;
        std::string error;
        EXPECT_FALSE(parse_options(c.args, options, error)) << c.args[0];
        EXPECT_TRUE(error.starts_with(c.message)) << error;
    }
}

TEST(HvxsimSweep, SessionHoldsTheWaitedReadingUntilSettledAndAResetDropsIt)
{
    device d({"--instrument", "hvxa", "--settle-ms", "300", "--dut", "rc-lowpass:fc=1000"});
    instrument& shared = d.get();
    auto now = session::clock::time_point(std::chrono::hours(2));
    shared.set_clock([&now] { return now; });
    const wire_settings wire;
    transcript log;
    session s(shared, wire, log, "tcp#1");
    s.connected(now, "127.0.0.1:5000");
    s.received("config,48,1.0E3\n*wai;fra?\n", now);
    now += 299ms;
    EXPECT_EQ(s.take_output(now), "");
    now += 1ms;
    const std::string line = s.take_output(now);
    ASSERT_TRUE(line.ends_with("\r\n")) << line;
    EXPECT_EQ(strict_values(line.substr(0, line.size() - 2), 6)[0], 1000.0);
    s.wrote(line, now);
    // Waiting again once settled answers at once; a reset drops a held one.
    s.received("*wai;fra?\n", now);
    const std::string again = s.take_output(now);
    EXPECT_EQ(again, line);
    s.wrote(again, now);
    s.received("config,48,2.0E3\n*wai;fra?\n\x14", now);
    now += 1s;
    EXPECT_EQ(s.take_output(now), "");
}

TEST(HvxsimSweep, SlowLinesSpaceEveryMeasurementReplyLineAndAResetDropsTheRest)
{
    device d({"--instrument", "hvxa", "--set", "18=3", "--slow-lines-ms", "40"});
    const instrument_response sweep = d.respond("gainph,sweep?");
    EXPECT_EQ(sweep.line_interval, 40ms);
    EXPECT_EQ(sweep.notes, std::vector<std::string>{"lines 40 ms apart (--slow-lines-ms)"});
    EXPECT_EQ(d.respond("*IDN?").line_interval, 0ms);
    instrument& shared = d.get();
    auto now = session::clock::time_point(std::chrono::hours(2));
    shared.set_clock([&now] { return now; });
    wire_settings wire;
    wire.reply_delay = 10ms;
    transcript log;
    session s(shared, wire, log, "tcp#1");
    s.connected(now, "127.0.0.1:5000");
    // Each line is due 40 ms after the one before, the first 40 ms after the
    // reply delay; nothing else of the reply comes early.
    auto lines_by = [&](std::chrono::milliseconds at) {
        std::size_t lines = 0;
        for (std::string out = s.take_output(now + at); !out.empty(); out = s.take_output(now + at)) {
            EXPECT_TRUE(out.ends_with("\r\n")) << out;
            EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
            s.wrote(out, now + at);
            ++lines;
        }
        return lines;
    };
    s.received("gainph,sweep?\n", now);
    EXPECT_EQ(lines_by(49ms), 0u);
    EXPECT_EQ(lines_by(50ms), 1u);
    EXPECT_EQ(lines_by(89ms), 0u);
    EXPECT_EQ(lines_by(130ms), 2u);
    // A reading is one line, late by the interval too; the reply after it
    // waits its turn.
    now += 1s;
    s.received("fra?\n*IDN?\n", now);
    EXPECT_EQ(lines_by(49ms), 0u);
    EXPECT_EQ(lines_by(50ms), 2u);
    // A reset drops the lines not yet sent.
    now += 1s;
    s.received("LCR,SWEEP?\n", now);
    EXPECT_EQ(lines_by(50ms), 1u);
    s.received("\x14", now + 50ms);
    EXPECT_EQ(lines_by(1s), 0u);
}

// One command as the program sends it over TCP: the line, LF and a NUL.
std::string wire(const std::string& line)
{
    return line + "\n" + std::string(1, '\0');
}

// Reads until n whole lines (CR LF) arrived or nothing more comes within
// the timeout; returns the lines without their ends.
replies read_lines(sim_client& client, std::size_t n)
{
    std::string bytes;
    replies lines;
    while (lines.size() < n) {
        const std::string more = client.read_until("\r\n", 10s);
        if (more.empty())
            break;
        bytes += more;
        for (auto end = bytes.find("\r\n"); end != std::string::npos; end = bytes.find("\r\n")) {
            lines.push_back(bytes.substr(0, end));
            bytes.erase(0, end + 2);
        }
    }
    EXPECT_EQ(bytes, "") << "a line cut short";
    return lines;
}

// Polls "DAV?" until every bit in mask is set; false when the deadline
// passes first.
bool wait_for_data_ready(sim_client& client, unsigned mask)
{
    const auto give_up = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < give_up) {
        client.send(wire("DAV?"));
        const replies reply = read_lines(client, 1);
        if (reply.size() == 1 && (std::stoul(reply[0]) & mask) == mask)
            return true;
    }
    return false;
}

TEST(HvxsimSweepProcess, ThreeChannelSweepAndSettledReadingAsTheWorkerAsksForThem)
{
    sim_process sim({"--instrument", "hvxcm", "--set", "84=1", "--set", "18=25", "--set", "19=100", "--set",
                     "20=1.0E5", "--dut", "lowpass2:f0=5000,q=3", "--point-ms", "4", "--settle-ms", "20"},
                    "127.0.0.180");
    sim_client client(sim.address(), sim.port());
    client.send("\x14"s + wire("out,on") + wire("start"));
    ASSERT_TRUE(wait_for_data_ready(client, dav_sweep_ready));
    client.send(wire("gainph,sweep?"));
    const replies lines = read_lines(client, 25);
    ASSERT_EQ(lines.size(), 25u);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const double f = 100 * std::pow(10.0, static_cast<double>(i) * 3 / 24);
        const double x = f / 5000;
        const auto values = strict_values(lines[i], 10);
        if (values.size() == 10)
            expect_transfer_point(values, f, 1.0 / complex(1 - x * x, x / 3), 1.0, 0, "line " + std::to_string(i));
    }
    // Nothing more than the 25 lines came.
    client.send(wire("*IDN?"));
    EXPECT_EQ(read_lines(client, 1), replies{"ZELVORIAN,HVXCM1740,12460,3.05"});

    client.send(wire("config,48,5.0000E3") + wire("*wai;fra?"));
    const replies reading = read_lines(client, 1);
    ASSERT_EQ(reading.size(), 1u);
    const auto values = strict_values(reading[0], 10);
    expect_transfer_point(values, 5000, complex(0, -3), 1.0, 0, "reading at f0");

    ASSERT_TRUE(sim.wait_for_transcript("sweep started"));
    bool noted = false;
    for (const auto& note : sim.notes())
        noted = noted || note == "sweep started: 25 steps, data ready in 100 ms";
    EXPECT_TRUE(noted) << sim.transcript();
}

TEST(HvxsimSweepProcess, LargestImpedanceSweepArrivesWholeInOneReply)
{
    sim_process sim({"--instrument", "hvxc", "--set", "18=2000", "--set", "19=1.0E3", "--set", "20=1.0E6", "--set",
                     "137=0", "--dut", "piezo", "--point-ms", "0"},
                    "127.0.0.181");
    sim_client client(sim.address(), sim.port());
    client.send(wire("config,1,3;LCR") + wire("start") + wire("start") + wire("start"));
    ASSERT_TRUE(wait_for_data_ready(client, dav_sweep_ready));
    client.send(wire("LCR,SWEEP?"));
    const replies lines = read_lines(client, 2000);
    ASSERT_EQ(lines.size(), 2000u);
    double previous = 0;
    for (const auto& line : lines) {
        const auto values = strict_values(line, 13);
        ASSERT_EQ(values.size(), 13u);
        EXPECT_GT(values[0], previous);
        previous = values[0];
    }
    EXPECT_NEAR(previous, 1e6, 1);
    client.send(wire("lcr?"));
    const replies reading = read_lines(client, 1);
    ASSERT_EQ(reading.size(), 1u);
    strict_values(reading[0], 14);
}

}  // namespace
