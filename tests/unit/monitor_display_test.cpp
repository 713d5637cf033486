// The generator monitor's texts: status lines and colours, waveform names by
// instrument type and option, the engineering form, full scale and RMS.
// Expected texts are worked out by hand from the monitor's rules.
#include "config/monitor_display.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace {

constexpr double inf = std::numeric_limits<double>::infinity();
constexpr double nan = std::numeric_limits<double>::quiet_NaN();

TEST(MonitorDisplay, OutputStatusTextAndColour)
{
    struct status_case {
        int state;
        const char* text;
        int red, green, blue;
    };
    const status_case cases[] = {
        {0, "    OFF", 0x00, 0xC9, 0x57},
        {1, "     ON", 0xDC, 0x14, 0x3C},
        {2, " DC ON", 0x63, 0xB8, 0xFF},
        {3, " PH RST", 0xFF, 0x83, 0xFA},
        {4, "    OFF", 0x00, 0xC9, 0x57},   // a state the instrument may add later
        {-1, "    OFF", 0x00, 0xC9, 0x57},
    };
    for (const status_case& c : cases) {
        const s_monitor_status status = monitor_output_status(c.state);
        EXPECT_STREQ(status.text, c.text) << c.state;
        EXPECT_EQ(status.colour.red, c.red) << c.state;
        EXPECT_EQ(status.colour.green, c.green) << c.state;
        EXPECT_EQ(status.colour.blue, c.blue) << c.state;
    }
}

TEST(MonitorDisplay, WaveformNamesFollowTypeAndOption)
{
    struct name_case {
        int type, option, waveform;
        const char* name;
    };
    const name_case cases[] = {
        // Type 9 numbers its own waveforms, whatever the option.
        {9, 0, 0, "     Sine"},     {9, 0, 1, "    Square"},  {9, 0, 2, "  Triangle"},
        {9, 0, 3, "  Sawtooth"},    {9, 0, 4, "    Pulse"},   {9, 2, 5, "White noise"},
        {9, 0, 6, "     Sine"},     {9, 0, -1, "     Sine"},
        // Other types with option 0 swap square and triangle and have the saws.
        {7, 0, 1, "  Triangle"},    {7, 0, 2, "    Square"},  {7, 0, 3, " Lead Saw"},
        {5, 0, 4, "Trail Saw"},     {7, 0, 5, "     Sine"},   {7, 0, 0, "     Sine"},
        // With another option only the square remains.
        {7, 1, 1, "    Square"},    {7, 1, 2, "     Sine"},   {7, 3, 4, "     Sine"},
        {7, 1, 0, "     Sine"},
    };
    for (const name_case& c : cases) {
        EXPECT_STREQ(monitor_waveform_name(c.type, c.option, c.waveform), c.name)
            << c.type << "/" << c.option << "/" << c.waveform;
    }
}

TEST(MonitorDisplay, EngineeringFormWithDecimals)
{
    struct eng_case {
        double value;
        int decimals;
        const char* text;
    };
    const eng_case cases[] = {
        {0, 3, "0.000"},
        {-0.0, 1, "0.0"},
        {0, 0, "0"},
        {1, 3, "1.000"},                // e = 0 steps to -3 and back: 1000 -> 1
        {5, 3, "5.000"},
        {999, 3, "999.000"},
        {1000, 3, "1.000k"},
        {1500, 3, "1.500k"},
        {12345.678, 1, "12.3k"},
        {0.5, 3, "500.000m"},
        {0.001, 3, "1.000m"},            // e = -3 steps to -6 and back
        {0.00047, 3, "470.000u"},
        {-0.25, 3, "250.000m"},          // no sign in the prefixed form
        {-2e6, 2, "2.00M"},
        {1e9, 3, "1.000G"},
        {999e9, 3, "999.000G"},
        {1e-12, 3, "1.000p"},
        {3.3e-12, 3, "3.300p"},
        {0.9999999, 3, "1000.000m"},     // rounds up at its last decimal: kept
        // Outside pico to giga: the signed value, six decimals, three-digit exponent.
        {1e12, 3, "1.000000e+012"},
        {-1.2345e12, 3, "-1.234500e+012"},
        {1e-13, 3, "1.000000e-013"},
        {4.9e-324, 3, "4.940656e-324"},
        {1e308, 3, "1.000000e+308"},
        // No decade at all: never log10 of them.
        {inf, 3, "inf"},
        {-inf, 3, "-inf"},
        {nan, 3, "nan"},
        // Decimals held to a sane range.
        {1500, -4, "2k"},
        {1, 99, "1.00000000000000000000"},
    };
    for (const eng_case& c : cases) {
        EXPECT_EQ(monitor_eng_text(c.value, c.decimals), c.text) << c.value << " with " << c.decimals;
    }
}

TEST(MonitorDisplay, FullScaleSteps)
{
    struct scale_case {
        double offset, peak, ceiling;
        double scale;  // -1: none
    };
    const scale_case cases[] = {
        {0, 0.5, 10, 1},
        {0.2, 0.79, 10, 1},
        {0, 1, 10, 5},     // 1 is not below 1
        {1, 3.99, 15, 5},
        {0, 5, 10, 10},    // nor 5 below 5
        {2, 7, 15, 15},
        {-3, 3, 10, 10},   // the swing reaches -6 V: a negative offset does not cancel the peak
        {-0.5, 0.4, 10, 1},
        {0, 0.5, 0, -1},   // no ceiling yet: no scale
        {0, 0.5, -10, -1},
        {0, 0.5, nan, -1},
    };
    for (const scale_case& c : cases) {
        const std::optional<double> scale = monitor_full_scale(c.offset, c.peak, c.ceiling);
        if (c.scale < 0) {
            EXPECT_FALSE(scale.has_value()) << c.offset << " " << c.peak << " " << c.ceiling;
        } else {
            ASSERT_TRUE(scale.has_value()) << c.offset << " " << c.peak << " " << c.ceiling;
            EXPECT_EQ(*scale, c.scale) << c.offset << " " << c.peak << " " << c.ceiling;
        }
    }
}

TEST(MonitorDisplay, RmsByOutputStateAndDeviceFlag)
{
    struct rms_case {
        std::int16_t state;
        float peak, offset;
        bool device;
        double rms;
    };
    const double r2 = std::sqrt(2.0);
    const rms_case cases[] = {
        {0, 2, 1, false, 0},              // off: nothing, offset or not
        {1, 2, 0, false, 2 / r2},
        {1, 2, 0.5f, false, 0.5 + 2 / r2},
        {1, 2, 0.5f, true, 0.5 + 1 / r2}, // the device halves the sine, not the offset
        {2, 2, 0.5f, false, 0.5},         // DC only: the offset alone
        {2, 2, 0.5f, true, 0.5},
        {3, 4, -1, false, -1 + 4 / r2},
    };
    for (const rms_case& c : cases) {
        s_monitor_values values;
        values.output_state = c.state;
        values.amplitude = c.peak;
        values.offset = c.offset;
        values.device_flag = c.device;
        EXPECT_NEAR(monitor_rms(values), c.rms, 1e-6) << c.state << " " << c.peak << " " << c.offset;
    }
}

TEST(MonitorDisplay, ValueTextsAreReadAsAtofReadsThem)
{
    const float inf_f = std::numeric_limits<float>::infinity();
    struct text_case {
        const char* text;
        float value;
    };
    const text_case cases[] = {
        {"1.5000E0", 1.5f},  {" -2.5E-1", -0.25f}, {"15.0", 15.0f}, {"1e3Hz", 1000.0f},
        {"abc", 0.0f},       {"", 0.0f},           {nullptr, 0.0f},
        {"1E300", inf_f},    {"-1E300", -inf_f},   {"inf", inf_f},  // beyond a float: an infinity
    };
    for (const text_case& c : cases) {
        EXPECT_EQ(monitor_number_of_text(c.text), c.value) << (c.text ? c.text : "(null)");
    }
    EXPECT_TRUE(std::isnan(monitor_number_of_text("nan")));
}

TEST(MonitorDisplay, TextsAreLaidOutForTheControl)
{
    s_monitor_values values;
    values.output_state = 1;
    values.waveform = 1;
    values.amplitude = 1.5f;
    values.frequency = 1000;
    values.offset = 0;
    values.amplitude_ceiling = 10;
    values.device_flag = true;

    s_monitor_texts texts = monitor_texts(values, 7, 0);
    EXPECT_STREQ(texts.status.text, "     ON");
    EXPECT_STREQ(texts.waveform_name, "  Triangle");
    EXPECT_EQ(texts.peak, "    1.500V");      // "1.500" right-aligned in 9
    EXPECT_EQ(texts.frequency, "  1.000kHz");  // "1.000k" right-aligned in 8
    EXPECT_EQ(texts.full_scale, "5.0V");
    EXPECT_EQ(texts.rms, "RMS: 530.330mV");    // 1.5 / sqrt(2) / 2 = 0.53033

    values.output_state = 0;
    values.amplitude = 12;
    values.frequency = 12.5e6f;
    values.amplitude_ceiling = 15;
    texts = monitor_texts(values, 9, 0);
    EXPECT_STREQ(texts.status.text, "    OFF");
    EXPECT_STREQ(texts.waveform_name, "    Square");
    EXPECT_EQ(texts.peak, "   12.000V");
    EXPECT_EQ(texts.frequency, " 12.500MHz");
    EXPECT_EQ(texts.full_scale, "15.0V");
    EXPECT_EQ(texts.rms, "RMS: 0.000V");

    values.amplitude_ceiling = 0;  // nothing read yet: no scale label
    EXPECT_EQ(monitor_texts(values, 9, 0).full_scale, "");
}

TEST(MonitorDisplay, TerminalLineDropsThePadding)
{
    s_monitor_values values;
    values.output_state = 2;
    values.waveform = 5;
    values.amplitude = 1;
    values.frequency = 50;
    values.offset = 1.25f;
    EXPECT_EQ(monitor_line(monitor_texts(values, 9, 0)),
              "Output: DC ON\tWaveform: White noise\tPeak: 1.000V\tFreq: 50.000Hz\tRMS: 1.250V");
    values.output_state = 0;
    values.waveform = 0;
    EXPECT_EQ(monitor_line(monitor_texts(values, 7, 1)),
              "Output: OFF\tWaveform: Sine\tPeak: 1.000V\tFreq: 50.000Hz\tRMS: 0.000V");
}

}  // namespace
