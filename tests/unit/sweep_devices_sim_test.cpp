// The sweep engines against the simulator over loopback TCP, one device
// under test after another: every point the FRA worker downloads agrees
// with the device's H(f), every impedance point with its Z(f), both
// computed here at the point's own frequency; and a real-time sweep of one
// device point by point.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/config_selection.h"
#include "config/instrument_config.h"
#include "fra/command_queue.h"
#include "fra/fra_realtime.h"
#include "fra/fra_sweep_worker.h"
#include "fra/lcr_layout.h"
#include "impedance/lcr_sweep_worker.h"
#include "link/connection.h"
#include "link/identify.h"
#include "support/recording_prompt.h"
#include "support/sim_process.h"

namespace {

using complex = std::complex<double>;
constexpr double pi = 3.14159265358979323846;
const complex j(0, 1);

complex s_of(double f)
{
    return j * (2 * pi * f);
}

struct device {
    const char* text;  // as given to --dut
    std::function<complex(double f)> function;
};

const device transfer_devices[] = {
    {"through", [](double) { return complex(1); }},
    {"rc-lowpass:fc=300", [](double f) { return 1.0 / (1.0 + j * (f / 300)); }},
    {"lowpass2:f0=200,q=5",
     [](double f) {
         const double u = f / 200;
         return 1.0 / (1.0 - u * u + j * (u / 5));
     }},
    {"loop:k=40,a=6,b=11,c=6", [](double f) {
         const complex s = s_of(f);
         return 40.0 / (s * s * s + 6.0 * s * s + 11.0 * s + 6.0);
     }},
};

const device impedance_devices[] = {
    {"resistor:r=470", [](double) { return complex(470); }},
    {"capacitor:c=1e-7", [](double f) { return 1.0 / (s_of(f) * 1e-7); }},
    {"inductor:l=0.01", [](double f) { return s_of(f) * 0.01; }},
    {"series-rlc:r=5,l=1e-3,c=1e-6", [](double f) { return 5.0 + s_of(f) * 1e-3 + 1.0 / (s_of(f) * 1e-6); }},
    {"parallel-rlc:r=220,l=1e-3,c=1e-6",
     [](double f) { return 1.0 / (1.0 / 220 + 1.0 / (s_of(f) * 1e-3) + s_of(f) * 1e-6); }},
    {"randles:rs=5,rct=250,cdl=2e-6,sigma=40",
     [](double f) {
         const double w = 2 * pi * f;
         const complex faradaic = 250.0 + 40.0 * complex(1, -1) / std::sqrt(w);
         return 5.0 + 1.0 / (j * w * 2e-6 + 1.0 / faradaic);
     }},
    {"piezo:c0=1e-9,r1=10,l1=0.1,c1=1e-11", [](double f) {
         const complex s = s_of(f);
         const complex arm = 10.0 + s * 0.1 + 1.0 / (s * 1e-11);
         const complex c0 = 1.0 / (s * 1e-9);
         return arm * c0 / (arm + c0);
     }},
};

// The phase a value of the device reads as (degrees, -180 to 180).
double degrees(complex value)
{
    return std::arg(value) * 180 / pi;
}

// The angle difference folded into -180 to 180.
double angle_between(double a, double b)
{
    return std::remainder(a - b, 360.0);
}

// What the instrument's five significant digits allow around a value.
double five_digits(double value)
{
    return 1e-4 * std::max(1.0, std::abs(value));
}

// A simulator measuring `dut`, identified, its model selected.
class sim_instrument {
public:
    sim_instrument(const std::string& instrument, const std::string& dut, std::vector<std::string> settings)
    {
        std::vector<std::string> args = {"--instrument", instrument, "--dut", dut};
        for (std::string& setting : settings) {
            args.push_back("--set");
            args.push_back(std::move(setting));
        }
        sim = std::make_unique<sim_process>(args, "127.0.0.190");
        conn->interface = LINK_LAN;
        connection_set_ip_address(conn.get(), sim->address().c_str());
        silent_prompt quiet;
        identified = identify_connection(conn.get(), quiet).identified;
        conn->connected = 1;
        config_select_for_type(conn->instrument_type);
        context.connection = conn.get();
        context.config = current_config;
        context.prompt = &prompt;
    }
    std::unique_ptr<sim_process> sim;
    std::unique_ptr<s_connection> conn = std::make_unique<s_connection>();
    bool identified = false;
    recording_prompt prompt;
    s_sweep_context context;
};

const std::vector<std::string> sweep_settings = {"18=9", "19=10", "20=1e5", "6=0"};

TEST(SweepDevicesSim, EveryFraPointFollowsTheDevice)
{
    for (const device& d : transfer_devices) {
        SCOPED_TRACE(d.text);
        sim_instrument instrument("hvxa", d.text, sweep_settings);
        ASSERT_TRUE(instrument.identified);
        s_sweep_job job;
        ASSERT_EQ(fra_sweep_worker(job, instrument.context), sweep_outcome::delivered);
        ASSERT_EQ(job.block->points, 9);
        EXPECT_NEAR(job.block->point[0].frequency, 10, 1e-6);
        EXPECT_NEAR(job.block->point[8].frequency, 1e5, 1e-1);
        for (int i = 0; i < job.block->points; ++i) {
            const s_fra_result& p = job.block->point[i];
            const complex h = d.function(p.frequency);
            const double gain = 20 * std::log10(std::abs(h));
            EXPECT_NEAR(p.gain, gain, five_digits(gain)) << p.frequency;
            EXPECT_NEAR(angle_between(p.phase, degrees(h)), 0, five_digits(degrees(h))) << p.frequency;
        }
    }
}

TEST(SweepDevicesSim, EveryImpedancePointFollowsTheDevice)
{
    for (const device& d : impedance_devices) {
        SCOPED_TRACE(d.text);
        std::vector<std::string> settings = sweep_settings;
        settings.push_back("1=3");    // already measuring LCR: no mode change
        settings.push_back("137=3");  // impedance: real, quadrature, magnitude, phase
        sim_instrument instrument("hvxc", d.text, settings);
        ASSERT_TRUE(instrument.identified);
        s_lcr_sweep_job job;
        ASSERT_EQ(lcr_sweep_worker(job, instrument.context), sweep_outcome::delivered);
        ASSERT_EQ(job.layout, LCR_LAYOUT_IMPEDANCE);
        ASSERT_EQ(job.block->points, 9);
        for (int i = 0; i < job.block->points; ++i) {
            const double* v = job.block->point[i].value;
            const complex z = d.function(v[0]);
            const double scale = std::abs(z);
            EXPECT_NEAR(v[1], z.real(), 1e-4 * scale) << v[0];
            EXPECT_NEAR(v[2], z.imag(), 1e-4 * scale) << v[0];
            EXPECT_NEAR(v[3], scale, 1e-4 * scale) << v[0];
            EXPECT_NEAR(angle_between(v[4], degrees(z)), 0, 1e-2) << v[0];
        }
    }
}

TEST(SweepDevicesSim, ARealTimeSweepReadsEachPointAtItsFrequency)
{
    sim_instrument instrument("hvxa", "rc-lowpass:fc=300", {"18=4", "19=30", "20=3e4"});
    ASSERT_TRUE(instrument.identified);
    instrument.context.config->set_value_int(18, 4);
    instrument.context.config->set_value_text(19, "3.0000E+001");
    instrument.context.config->set_value_text(20, "3.0000E+004");
    s_sweep_job job;
    command_queue view;
    job.view = &view;
    s_sweep_request request;
    fra_realtime_sweep sweep(job, instrument.context, request);
    fra_realtime_control(sweep, REALTIME_START);
    while (sweep.phase() == realtime_phase::running) {
        const auto posted = view.take(10000);
        ASSERT_TRUE(posted.has_value());
        sweep.point_arrived();
    }
    EXPECT_EQ(sweep.phase(), realtime_phase::finished);
    ASSERT_EQ(sweep.shown().points, 4);
    const double expected_frequencies[] = {30, 300, 3000, 30000};
    for (int i = 0; i < 4; ++i) {
        const s_fra_result& p = sweep.shown().point[i];
        EXPECT_NEAR(p.frequency, expected_frequencies[i], expected_frequencies[i] * 1e-4);
        const complex h = 1.0 / (1.0 + j * (p.frequency / 300));
        EXPECT_NEAR(p.gain, 20 * std::log10(std::abs(h)), 1e-3);
        EXPECT_NEAR(p.phase, degrees(h), 1e-3);
    }
    EXPECT_EQ(instrument.sim->commands().back(), "*esr?");
}

}  // namespace
