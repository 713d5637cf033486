#include "sim/dut_models.h"

#include <cmath>

#include "sim/config_number_text.h"

namespace hvxsim {

namespace {

using complex = std::complex<double>;

constexpr double two_pi = 6.283185307179586;
constexpr complex j{0.0, 1.0};

complex s_at(double frequency)
{
    return j * (two_pi * frequency);
}

// Transfer functions.
complex through(const dut_values&, double)
{
    return 1.0;
}

complex rc_lowpass(const dut_values& v, double f)
{
    return 1.0 / (1.0 + j * (f / v[0]));
}

complex second_order_lowpass(const dut_values& v, double f)
{
    const double x = f / v[0];
    return 1.0 / complex(1.0 - x * x, x / v[1]);
}

// L(s) = K / (s^3 + a s^2 + b s + c).
complex control_loop(const dut_values& v, double f)
{
    const complex s = s_at(f);
    return v[0] / (((s + v[1]) * s + v[2]) * s + v[3]);
}

// Impedances.
complex resistor(const dut_values& v, double)
{
    return v[0];
}

complex capacitor(const dut_values& v, double f)
{
    return 1.0 / (s_at(f) * v[0]);
}

complex inductor(const dut_values& v, double f)
{
    return s_at(f) * v[0];
}

complex series_rlc(const dut_values& v, double f)
{
    const complex s = s_at(f);
    return v[0] + s * v[1] + 1.0 / (s * v[2]);
}

complex parallel_rlc(const dut_values& v, double f)
{
    const complex s = s_at(f);
    return 1.0 / (1.0 / v[0] + 1.0 / (s * v[1]) + s * v[2]);
}

// Rs in series with Cdl parallel to (Rct + Warburg), the Warburg element
// being sigma (1 - j) / sqrt(omega).
complex randles_cell(const dut_values& v, double f)
{
    const double omega = two_pi * f;
    const complex warburg = v[3] * complex(1.0, -1.0) / std::sqrt(omega);
    return v[0] + 1.0 / (j * omega * v[2] + 1.0 / (v[1] + warburg));
}

// Butterworth-Van Dyke: C0 parallel to the motional arm R1 + L1 + C1.
complex piezo_bvd(const dut_values& v, double f)
{
    const complex s = s_at(f);
    const complex motional = v[1] + s * v[2] + 1.0 / (s * v[3]);
    return 1.0 / (s * v[0] + 1.0 / motional);
}

constexpr dut_parameter no_parameters[] = {{"", 0, true, ""}};
constexpr dut_parameter rc_parameters[] = {{"fc", 1000, false, "corner frequency, Hz"}};
constexpr dut_parameter lowpass2_parameters[] = {
    {"f0", 1000, false, "natural frequency, Hz"},
    {"q", 0.7071, false, "quality factor"},
};
// Three real poles at 100 Hz (p = 2 pi 100: a = 3p, b = 3p^2, c = p^3);
// the phase reaches -180 degrees at w = p sqrt(3), where |L| = K / (8 p^3),
// so K = 4 p^3 leaves a gain margin of 2 (6 dB).
constexpr dut_parameter loop_parameters[] = {
    {"k", 9.922e8, false, "gain K"},
    {"a", 1885, true, "s^2 coefficient"},
    {"b", 1.184e6, true, "s coefficient"},
    {"c", 2.481e8, true, "constant"},
};
constexpr dut_parameter resistor_parameters[] = {{"r", 1000, false, "ohms"}};
constexpr dut_parameter capacitor_parameters[] = {{"c", 1e-6, false, "farads"}};
constexpr dut_parameter inductor_parameters[] = {{"l", 1e-3, false, "henries"}};
constexpr dut_parameter series_rlc_parameters[] = {
    {"r", 10, true, "ohms"},
    {"l", 1e-3, false, "henries"},
    {"c", 1e-6, false, "farads"},
};
constexpr dut_parameter parallel_rlc_parameters[] = {
    {"r", 1000, false, "ohms"},
    {"l", 1e-3, false, "henries"},
    {"c", 1e-6, false, "farads"},
};
constexpr dut_parameter randles_parameters[] = {
    {"rs", 10, true, "solution resistance, ohms"},
    {"rct", 100, false, "charge-transfer resistance, ohms"},
    {"cdl", 1e-5, false, "double-layer capacitance, farads"},
    {"sigma", 0, true, "Warburg coefficient, ohms/sqrt(s); 0: none"},
};
constexpr dut_parameter piezo_parameters[] = {
    {"c0", 1e-9, false, "parallel capacitance, farads"},
    {"r1", 10, false, "motional resistance, ohms"},
    {"l1", 0.1, false, "motional inductance, henries"},
    {"c1", 1e-11, false, "motional capacitance, farads"},
};

constexpr std::span<const dut_parameter> none(no_parameters, 0);

constexpr dut_kind catalogue[] = {
    {"through", dut_domain::transfer, "unity connection, H = 1", none, through},
    {"rc-lowpass", dut_domain::transfer, "first-order RC low-pass, H = 1 / (1 + j f/fc)", rc_parameters,
     rc_lowpass},
    {"lowpass2", dut_domain::transfer, "second-order low-pass, H = 1 / (1 - (f/f0)^2 + j f/(f0 Q))",
     lowpass2_parameters, second_order_lowpass},
    {"loop", dut_domain::transfer, "control loop, L(s) = K / (s^3 + a s^2 + b s + c), s = j 2 pi f",
     loop_parameters, control_loop},
    {"resistor", dut_domain::impedance, "resistor, Z = R", resistor_parameters, resistor},
    {"capacitor", dut_domain::impedance, "capacitor, Z = 1 / (j w C)", capacitor_parameters, capacitor},
    {"inductor", dut_domain::impedance, "inductor, Z = j w L", inductor_parameters, inductor},
    {"series-rlc", dut_domain::impedance, "R, L and C in series", series_rlc_parameters, series_rlc},
    {"parallel-rlc", dut_domain::impedance, "R, L and C in parallel", parallel_rlc_parameters, parallel_rlc},
    {"randles", dut_domain::impedance, "Randles cell: Rs + (Cdl || (Rct + Warburg))", randles_parameters,
     randles_cell},
    {"piezo", dut_domain::impedance, "piezo resonator (Butterworth-Van Dyke): C0 || (R1 + L1 + C1)",
     piezo_parameters, piezo_bvd},
};

// The index of key among the kind's parameters, or nothing.
std::optional<std::size_t> parameter_index(const dut_kind& kind, std::string_view key)
{
    for (std::size_t i = 0; i < kind.parameters.size(); ++i) {
        if (kind.parameters[i].key == key)
            return i;
    }
    return std::nullopt;
}

bool read_assignment(const dut_kind& kind, std::string_view item, dut_choice& choice,
                     std::array<bool, max_dut_parameters>& given, std::string& error)
{
    const std::string prefix = std::string(kind.name) + ": ";
    const auto eq = item.find('=');
    if (eq == std::string_view::npos) {
        error = prefix + "expected k=v, got \"" + std::string(item) + "\"";
        return false;
    }
    const std::string_view key = item.substr(0, eq);
    const auto index = parameter_index(kind, key);
    if (!index) {
        error = prefix + "no parameter \"" + std::string(key) + "\"";
        return false;
    }
    if (given[*index]) {
        error = prefix + std::string(key) + " given twice";
        return false;
    }
    const dut_parameter& parameter = kind.parameters[*index];
    double value = 0;
    if (!parse_real_number(item.substr(eq + 1), value) || value < 0 || (value == 0 && !parameter.may_be_zero)) {
        error = prefix + std::string(key) + " needs a number " +
                (parameter.may_be_zero ? "of at least 0" : "above 0") + ", got \"" +
                std::string(item.substr(eq + 1)) + "\"";
        return false;
    }
    given[*index] = true;
    choice.values[*index] = value;
    return true;
}

}  // namespace

std::span<const dut_kind> dut_catalogue()
{
    return catalogue;
}

const dut_kind* find_dut(std::string_view name)
{
    for (const auto& kind : catalogue) {
        if (kind.name == name)
            return &kind;
    }
    return nullptr;
}

dut_choice default_dut(const dut_kind& kind)
{
    dut_choice choice{&kind, {}};
    for (std::size_t i = 0; i < kind.parameters.size(); ++i)
        choice.values[i] = kind.parameters[i].default_value;
    return choice;
}

dut_choice default_transfer_dut()
{
    return default_dut(*find_dut("through"));
}

dut_choice default_impedance_dut()
{
    return default_dut(*find_dut("resistor"));
}

std::optional<dut_choice> parse_dut(std::string_view text, std::string& error)
{
    const auto colon = text.find(':');
    const std::string_view name = text.substr(0, colon);
    const dut_kind* kind = find_dut(name);
    if (!kind) {
        error = "unknown device \"" + std::string(name) + "\" (see --help for the list)";
        return std::nullopt;
    }
    dut_choice choice = default_dut(*kind);
    if (colon == std::string_view::npos)
        return choice;
    std::array<bool, max_dut_parameters> given{};
    std::string_view rest = text.substr(colon + 1);
    while (true) {
        const auto comma = rest.find(',');
        if (!read_assignment(*kind, rest.substr(0, comma), choice, given, error))
            return std::nullopt;
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return choice;
}

std::string dut_help_text()
{
    std::string out;
    for (const auto& kind : catalogue) {
        std::string left = "  " + std::string(kind.name);
        left.resize(16, ' ');
        out += left + (kind.domain == dut_domain::transfer ? "[FRA] " : "[LCR] ") + std::string(kind.description) +
               "\n";
        for (const auto& parameter : kind.parameters) {
            out += std::string(18, ' ') + std::string(parameter.key) + "=" +
                   plain_number_text(parameter.default_value) + "  " + std::string(parameter.meaning) + "\n";
        }
    }
    return out;
}

}  // namespace hvxsim
