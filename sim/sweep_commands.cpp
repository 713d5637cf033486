#include "sim/sweep_commands.h"

#include <charconv>
#include <random>

#include "sim/config_commands.h"
#include "sim/sweep_number_text.h"
#include "sim/sweep_replies.h"

namespace hvxsim {

namespace {

constexpr int steps_parameter = 18;
constexpr int start_frequency_parameter = 19;
constexpr int end_frequency_parameter = 20;
constexpr int generator_frequency_parameter = 48;
constexpr int amplitude_parameter = 49;
constexpr int phase_convention_parameter = 6;
constexpr int third_channel_parameter = 84;
constexpr int lcr_quantity_parameter = 137;
constexpr int lcr_circuit_parameter = 138;

constexpr int quantity_impedance = 3;
constexpr int quantity_admittance = 4;

// The configuration values a measurement reads, from an instrument that
// has a configuration.
class settings {
public:
    explicit settings(const config_store& config) : config_(config) {}

    double value(int number) const { return config_.value(number).value_or(0.0); }
    int choice(int number) const { return static_cast<int>(value(number)); }

    // Family C instruments (the "ck" configurations).
    bool family_c() const { return config_.model().key.starts_with("ck"); }
    // Only the three-channel model lets 84 be switched on.
    bool three_channel() const { return family_c() && choice(third_channel_parameter) != 0; }
    int convention() const { return choice(phase_convention_parameter); }
    double generator_frequency() const { return value(generator_frequency_parameter); }
    double amplitude() const { return value(amplitude_parameter); }
    std::vector<double> frequencies() const
    {
        return sweep_frequencies(choice(steps_parameter), value(start_frequency_parameter),
                                 value(end_frequency_parameter));
    }

    lcr_layout sweep_layout() const
    {
        if (!family_c())
            return lcr_layout::lcr_equivalents;
        switch (choice(lcr_quantity_parameter)) {
        case quantity_admittance:
            return lcr_layout::admittance;
        case quantity_impedance:
            return lcr_layout::impedance;
        default:
            return lcr_layout::full;
        }
    }
    bool parallel() const { return choice(lcr_circuit_parameter) == 1; }
    bool complex_reading() const
    {
        const int quantity = choice(lcr_quantity_parameter);
        return quantity == quantity_impedance || quantity == quantity_admittance;
    }

private:
    const config_store& config_;
};

bool names_parameter(const std::string& text, int number)
{
    int parsed = 0;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, parsed);
    return ec == std::errc() && ptr == last && parsed == number;
}

// A line whose second field fails the strict check (too short), so a
// reader gets one value from it.
constexpr const char* refused_line = "1.0000E+03,12.5,2.0000E+00";

// The device's response at f, with the noise the knob asks for.
std::complex<double> measured(measurement_state& measurement, const dut_choice& device, double frequency)
{
    std::complex<double> response = device.at(frequency);
    if (measurement.noise > 0) {
        std::normal_distribution<double> normal(0.0, 1.0);
        const double real = normal(measurement.noise_source);
        const double imaginary = normal(measurement.noise_source);
        response *= std::complex<double>(1.0 + measurement.noise * real, measurement.noise * imaginary);
    }
    return response;
}

// A sweep reply's point lines as the fault knobs shape them.
reply_lines shaped_sweep(reply_lines lines, const measurement_state& measurement, std::string& note)
{
    const std::size_t points = lines.size();
    if (measurement.bad_line_after && *measurement.bad_line_after <= points) {
        lines.insert(lines.begin() + *measurement.bad_line_after, refused_line);
        note = "bad line after point " + std::to_string(*measurement.bad_line_after) + " (--bad-line-after)";
    }
    if (measurement.bad_line_first) {
        lines.insert(lines.begin(), refused_line);
        note += std::string(note.empty() ? "" : "; ") + "bad line first (--bad-line-first)";
    }
    if (measurement.silent_after && *measurement.silent_after < lines.size()) {
        lines.resize(*measurement.silent_after);
        note += std::string(note.empty() ? "" : "; ") + "silent after line " +
                std::to_string(*measurement.silent_after) + " (--silent-after)";
    }
    return lines;
}

// The lines of a measurement reply one at a time, as the knob spaces them.
void space_lines(command_context& context)
{
    const std::chrono::milliseconds interval = context.state.measurement.line_interval;
    if (interval.count() <= 0)
        return;
    context.line_interval = interval;
    context.note += std::string(context.note.empty() ? "" : "; ") + "lines " + std::to_string(interval.count()) +
                    " ms apart (--slow-lines-ms)";
}

std::chrono::milliseconds until(sim_clock::time_point now, const std::optional<sim_clock::time_point>& at)
{
    if (!at || *at <= now)
        return std::chrono::milliseconds(0);
    return std::chrono::ceil<std::chrono::milliseconds>(*at - now);
}

}  // namespace

reply_lines data_ready_query(command_context& context)
{
    if (!context.state.config)
        return {};
    return {std::to_string(context.state.measurement.data_ready(context.now))};
}

reply_lines output_on(command_context&)
{
    return {};
}

reply_lines sweep_start(command_context& context)
{
    instrument_state& state = context.state;
    if (!state.config)
        return {};
    const int steps = settings(*state.config).choice(steps_parameter);
    const auto sweep_time = state.measurement.point_time * steps;
    state.measurement.sweep_ready_at = context.now + sweep_time;
    context.note = "sweep started: " + std::to_string(steps) + " steps, data ready in " +
                   std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(sweep_time).count()) + " ms";
    return {};
}

reply_lines wait_for_point(command_context& context)
{
    if (context.state.config)
        context.reply_delay = until(context.now, context.state.measurement.point_ready_at);
    return {};
}

// A sweep reply: one measured line per sweep frequency, shaped by the
// fault knobs; `line` gives the values of one point of the chosen device.
template <typename Line>
reply_lines sweep_query(command_context& context, dut_choice measurement_state::*device, Line line)
{
    instrument_state& state = context.state;
    if (!state.config)
        return {};
    measurement_state& measurement = state.measurement;
    const settings held(*state.config);
    reply_lines lines;
    for (const double frequency : held.frequencies())
        lines.push_back(measured_line(line(frequency, measured(measurement, measurement.*device, frequency), held)));
    lines = shaped_sweep(std::move(lines), measurement, context.note);
    space_lines(context);
    return lines;
}

// A reading reply: the chosen device measured at the generator frequency.
template <typename Line>
reply_lines reading_query(command_context& context, dut_choice measurement_state::*device, Line line)
{
    instrument_state& state = context.state;
    if (!state.config)
        return {};
    measurement_state& measurement = state.measurement;
    const settings held(*state.config);
    const double frequency = held.generator_frequency();
    space_lines(context);
    return {measured_line(line(frequency, measured(measurement, measurement.*device, frequency), held))};
}

reply_lines transfer_sweep_query(command_context& context)
{
    return sweep_query(context, &measurement_state::transfer, [](double f, std::complex<double> h, const settings& held) {
        return transfer_point(f, h, held.amplitude(), held.convention(), held.three_channel());
    });
}

reply_lines transfer_reading_query(command_context& context)
{
    return reading_query(context, &measurement_state::transfer, [](double f, std::complex<double> h, const settings& held) {
        return transfer_point(f, h, held.amplitude(), held.convention(), held.three_channel());
    });
}

reply_lines impedance_sweep_query(command_context& context)
{
    return sweep_query(context, &measurement_state::impedance, [](double f, std::complex<double> z, const settings& held) {
        return lcr_sweep_point(f, z, held.sweep_layout(), held.parallel(), held.convention());
    });
}

reply_lines impedance_reading_query(command_context& context)
{
    return reading_query(context, &measurement_state::impedance, [](double f, std::complex<double> z, const settings& held) {
        return lcr_reading(f, z, held.amplitude(), held.complex_reading(), held.convention());
    });
}

reply_lines config_write_retuning(command_context& context)
{
    instrument_state& state = context.state;
    // Whether this write was refused, whatever the register held before.
    const unsigned held_esr = state.esr;
    state.esr = 0;
    reply_lines lines = config_write(context);
    const bool refused = state.esr != 0;
    state.esr |= held_esr;
    if (refused && held_esr != 0) {
        const auto tail = context.note.rfind(", ESR ");
        if (tail != std::string::npos)
            context.note = context.note.substr(0, tail) + ", ESR " + std::to_string(state.esr);
    }
    if (!refused && state.config && names_parameter(context.args[0], generator_frequency_parameter))
        state.measurement.point_ready_at = context.now + state.measurement.settle_time;
    return lines;
}

}  // namespace hvxsim
