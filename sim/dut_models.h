// The devices under test the simulator measures: each is one complex
// function of frequency, a transfer function H(f) for the frequency
// response commands or an impedance Z(f) in ohms for the LCR commands, so
// that every reply form of one point is computed from the same number.
//
// A device is chosen on the command line as NAME or NAME:k=v,... (e.g.
// "rc-lowpass:fc=2500", "randles:rs=5,sigma=30"); parameters not given
// keep their defaults. The catalogue is data: one row per device with its
// parameters, and one evaluator each.
#pragma once

#include <array>
#include <complex>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace hvxsim {

enum class dut_domain {
    transfer,   // H(f), dimensionless: "gainph,sweep?", "fra?"
    impedance,  // Z(f) in ohms: "LCR,SWEEP?", "lcr?"
};

inline constexpr std::size_t max_dut_parameters = 4;
using dut_values = std::array<double, max_dut_parameters>;

struct dut_parameter {
    std::string_view key;  // as written after the colon, lower case
    double default_value;
    bool may_be_zero;      // false: must be above zero
    std::string_view meaning;
};

struct dut_kind {
    std::string_view name;
    dut_domain domain;
    std::string_view description;  // one line for --help
    std::span<const dut_parameter> parameters;
    // The device's H(f) or Z(f); values in the order of parameters.
    std::complex<double> (*response)(const dut_values& values, double frequency);
};

// One chosen device with its parameter values.
struct dut_choice {
    const dut_kind* kind = nullptr;
    dut_values values{};

    std::complex<double> at(double frequency) const { return kind->response(values, frequency); }
};

std::span<const dut_kind> dut_catalogue();

// The device with this name, or nullptr.
const dut_kind* find_dut(std::string_view name);

// A device at its default values.
dut_choice default_dut(const dut_kind& kind);

// The devices measured when none is chosen: the unity "through" for the
// transfer commands and a 1 kOhm resistor for the impedance commands.
dut_choice default_transfer_dut();
dut_choice default_impedance_dut();

// Reads "NAME[:k=v,...]". Nothing, with a message in error, for an
// unknown name or key, a key given twice, or a value that is not a finite
// number or is out of the parameter's range.
std::optional<dut_choice> parse_dut(std::string_view text, std::string& error);

// The --help lines of the catalogue: every device with its parameters and
// their defaults.
std::string dut_help_text();

}  // namespace hvxsim
