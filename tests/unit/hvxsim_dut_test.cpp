// The simulator's devices under test: each catalogue device against its
// H(f) or Z(f) written out here independently, the --dut text and its
// refusals, and the number form of measured values against the program's
// own strict field check.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "graph/number_format.h"
#include "sim/dut_models.h"
#include "sim/sim_options.h"
#include "sim/sweep_number_text.h"
#include "sim/sweep_replies.h"

namespace {

using namespace hvxsim;
using complex = std::complex<double>;

constexpr double pi = 3.14159265358979323846;
const complex j(0, 1);

complex s_of(double f)
{
    return j * (2 * pi * f);
}

struct device_case {
    const char* text;  // as given to --dut
    dut_domain domain;
    double frequency;
    complex expected;
};

complex bvd(double c0, double r1, double l1, double c1, double f)
{
    const complex s = s_of(f);
    const complex arm = r1 + s * l1 + 1.0 / (s * c1);
    return (arm / (s * c0)) / (arm + 1.0 / (s * c0));  // Z1 || Zc0
}

complex randles(double rs, double rct, double cdl, double sigma, double f)
{
    const double w = 2 * pi * f;
    const complex faradaic = rct + sigma / std::sqrt(w) - j * (sigma / std::sqrt(w));
    const complex zc = 1.0 / (j * w * cdl);
    return rs + faradaic * zc / (faradaic + zc);
}

const std::vector<device_case> device_cases = {
    {"through", dut_domain::transfer, 123.0, 1.0},
    // At the corner: 1/(1+j), -3 dB and -45 degrees.
    {"rc-lowpass", dut_domain::transfer, 1000.0, complex(0.5, -0.5)},
    {"rc-lowpass:fc=50", dut_domain::transfer, 5000.0, 1.0 / (1.0 + j * 100.0)},
    // At f0 the second-order low-pass is -j Q.
    {"lowpass2:f0=200,q=5", dut_domain::transfer, 200.0, complex(0, -5)},
    {"lowpass2", dut_domain::transfer, 3000.0, 1.0 / (1.0 - 9.0 + j * (3.0 / 0.7071))},
    {"loop:k=1e6,a=2,b=3,c=4", dut_domain::transfer, 0.5,
     1e6 / (std::pow(s_of(0.5), 3) + 2.0 * s_of(0.5) * s_of(0.5) + 3.0 * s_of(0.5) + 4.0)},
    {"resistor:r=47", dut_domain::impedance, 1e5, 47.0},
    {"capacitor:c=1e-9", dut_domain::impedance, 1000.0, complex(0, -1.0 / (2 * pi * 1000.0 * 1e-9))},
    {"inductor:l=2e-3", dut_domain::impedance, 500.0, complex(0, 2 * pi * 500.0 * 2e-3)},
    {"series-rlc:r=5,l=1e-3,c=1e-6", dut_domain::impedance, 1.0 / (2 * pi * std::sqrt(1e-9)), 5.0},
    {"series-rlc", dut_domain::impedance, 100.0, 10.0 + s_of(100) * 1e-3 + 1.0 / (s_of(100) * 1e-6)},
    // At resonance a parallel RLC is its R alone.
    {"parallel-rlc:r=220", dut_domain::impedance, 1.0 / (2 * pi * std::sqrt(1e-9)), 220.0},
    {"parallel-rlc", dut_domain::impedance, 20.0,
     1.0 / (1.0 / 1000.0 + 1.0 / (s_of(20) * 1e-3) + s_of(20) * 1e-6)},
    {"randles", dut_domain::impedance, 159.0, randles(10, 100, 1e-5, 0, 159.0)},
    {"randles:rs=5,rct=250,cdl=2e-6,sigma=40", dut_domain::impedance, 2.0, randles(5, 250, 2e-6, 40, 2.0)},
    {"randles:sigma=40", dut_domain::impedance, 1e4, randles(10, 100, 1e-5, 40, 1e4)},
    {"piezo", dut_domain::impedance, 150e3, bvd(1e-9, 10, 0.1, 1e-11, 150e3)},
    {"piezo:c0=2e-9,r1=50", dut_domain::impedance, 1.0 / (2 * pi * std::sqrt(0.1 * 1e-11)),
     bvd(2e-9, 50, 0.1, 1e-11, 1.0 / (2 * pi * std::sqrt(0.1 * 1e-11)))},
};

TEST(HvxsimDut, EveryDeviceGivesItsOwnFunctionOfFrequency)
{
    for (const auto& c : device_cases) {
        std::string error;
        const auto device = parse_dut(c.text, error);
        ASSERT_TRUE(device) << c.text << ": " << error;
        EXPECT_EQ(device->kind->domain, c.domain) << c.text;
        const complex got = device->at(c.frequency);
        EXPECT_NEAR(std::abs(got - c.expected), 0.0, 1e-9 * std::abs(c.expected)) << c.text << " at " << c.frequency;
    }
}

TEST(HvxsimDut, TheCatalogueIsCoveredAndListedInHelp)
{
    const std::string help = usage_text();
    for (const auto& kind : dut_catalogue()) {
        bool tested = false;
        for (const auto& c : device_cases)
            tested = tested || std::string(c.text).starts_with(std::string(kind.name));
        EXPECT_TRUE(tested) << kind.name;
        EXPECT_NE(help.find("  " + std::string(kind.name) + " "), std::string::npos) << kind.name;
    }
}

TEST(HvxsimDut, OptionsChooseOneDeviceForEachDomain)
{
    sim_options options;
    std::string error;
    ASSERT_TRUE(parse_options({"--dut", "rc-lowpass", "--dut", "piezo", "--dut", "lowpass2:q=2"}, options, error))
        << error;
    ASSERT_TRUE(options.transfer_dut && options.impedance_dut);
    EXPECT_EQ(options.transfer_dut->kind->name, "lowpass2");
    EXPECT_EQ(options.transfer_dut->values[1], 2.0);
    EXPECT_EQ(options.impedance_dut->kind->name, "piezo");
}

TEST(HvxsimDut, BadDeviceTextIsRefusedByName)
{
    const struct {
        const char* text;
        const char* message_part;
    } cases[] = {
        {"sponge", "unknown device \"sponge\""},
        {"rc-lowpass:f=10", "rc-lowpass: no parameter \"f\""},
        {"rc-lowpass:fc", "expected k=v"},
        {"rc-lowpass:fc=0", "fc needs a number above 0"},
        {"randles:sigma=-1", "sigma needs a number of at least 0"},
        {"resistor:r=1k", "r needs a number above 0, got \"1k\""},
        {"resistor:r=1e999", "r needs a number"},
        {"series-rlc:r=1,r=2", "r given twice"},
        {"piezo:", "expected k=v, got \"\""},
        {"through:x=1", "through: no parameter \"x\""},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(parse_dut(c.text, error)) << c.text;
        EXPECT_NE(error.find(c.message_part), std::string::npos) << c.text << ": " << error;
        sim_options options;
        EXPECT_FALSE(parse_options({"--dut", c.text}, options, error)) << c.text;
        EXPECT_TRUE(error.starts_with("--dut: ")) << error;
    }
}

TEST(HvxsimDut, MeasuredValuesTakeTheFormTheStrictCheckAccepts)
{
    const double infinity = INFINITY;
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1234.5, "1.2345E+03"},
        {-0.000123456, "-1.2346E-04"},
        {0.0, "0.0000E+00"},
        {-0.0, "0.0000E+00"},  // no signed zero
        {1e-99, "1.0000E-99"},
        {9.9e-100, "0.0000E+00"},
        {-3e-120, "0.0000E+00"},
        {2.5e150, "9.9999E+99"},
        {9.99996e99, "9.9999E+99"},
        {-infinity, "-9.9999E+99"},
        {infinity, "9.9999E+99"},
        {NAN, "0.0000E+00"},
    };
    for (const auto& c : cases) {
        const std::string text = measured_field_text(c.value);
        EXPECT_EQ(text, c.text) << c.value;
        double parsed = 0;
        EXPECT_EQ(parse_value_list_strict(text.c_str(), text.size(), &parsed, 1), 1) << text;
    }
    const std::vector<double> line_values = {1e3, -2.0, 3e-7, -infinity};
    const std::string line = measured_line(line_values);
    EXPECT_EQ(line, "1.0000E+03,-2.0000E+00,3.0000E-07,-9.9999E+99");
    double parsed[4] = {};
    EXPECT_EQ(parse_value_list_strict(line.c_str(), line.size(), parsed, 4), 4);
}

TEST(HvxsimDut, PhasesFollowTheConvention)
{
    const struct {
        double degrees;
        int convention;
        double expected;
    } cases[] = {
        {-90, 0, -90}, {270, 0, -90},  {135, 0, 135},   {-90, 1, -90}, {90, 1, -270},
        {0, 1, 0},     {-90, 2, 270},  {90, 2, 90},     {0, 2, 0},     {-450, 0, -90},
        {90, 7, 90},   {-135, 9, -135},
    };
    for (const auto& c : cases)
        EXPECT_NEAR(phase_in_convention(c.degrees, c.convention), c.expected, 1e-12)
            << c.degrees << " in convention " << c.convention;
}

TEST(HvxsimDut, SweepFrequenciesAreLogSpacedFromStartToEnd)
{
    const auto two = sweep_frequencies(2, 10, 1000);
    ASSERT_EQ(two.size(), 2u);
    EXPECT_DOUBLE_EQ(two[0], 10);
    EXPECT_NEAR(two[1], 1000, 1e-9);
    const auto five = sweep_frequencies(5, 1, 1e4);
    ASSERT_EQ(five.size(), 5u);
    for (std::size_t i = 0; i < five.size(); ++i)
        EXPECT_NEAR(five[i], std::pow(10.0, static_cast<double>(i)), 1e-9 * five[i]);
    const auto down = sweep_frequencies(3, 1e5, 1e3);
    EXPECT_NEAR(down[1], 1e4, 1e-7);
}

}  // namespace
