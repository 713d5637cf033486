#include "sim/config_models.h"

#include "sim/config_tables.h"

namespace hvxsim {

namespace {

// Family A/B inputs 24 and 25: 0 disabled, 1 voltage input, 2 external
// shunt. Modes 0 (RMS voltmeter) and 5 (harmonic analyser) allow all three.
constexpr int ak_live_modes_24[] = {1, 2, 4};
constexpr int ak_single_input_modes[] = {3, 6};
constexpr int ak_live_modes_25[] = {1, 4};
constexpr int ak_shunt_modes[] = {2, 3};
constexpr int ak_transformer_mode[] = {6};
constexpr int voltage_or_shunt[] = {1, 2};
constexpr int voltage_only[] = {1};
constexpr int shunt_only[] = {2};

constexpr config_mode_rule ak_mode_rules[] = {
    {24, ak_live_modes_24, voltage_or_shunt},
    {24, ak_single_input_modes, voltage_only},
    {25, ak_live_modes_25, voltage_or_shunt},
    {25, ak_shunt_modes, shunt_only},
    {25, ak_transformer_mode, voltage_only},
};

// Family C inputs 24 to 26: 1 direct, 2 external shunt, 3 external
// attenuator. Modes 2 (power meter), 3 (LCR meter) and 6 (vector
// voltmeter) narrow them.
constexpr int ck_narrow_modes_24[] = {2, 3, 6};
constexpr int ck_power_modes[] = {2, 3};
constexpr int ck_vector_mode[] = {6};
constexpr int direct_or_attenuator[] = {1, 3};

constexpr config_mode_rule ck_mode_rules[] = {
    {24, ck_narrow_modes_24, direct_or_attenuator},
    {25, ck_power_modes, shunt_only},
    {25, ck_vector_mode, direct_or_attenuator},
    {26, ck_power_modes, shunt_only},
    {26, ck_vector_mode, direct_or_attenuator},
};

// Low-current family A models: two waveforms (sine 0, square 2) and a
// finer trim tolerance.
constexpr int sine_or_square[] = {0, 2};
constexpr config_override ak_low_current[] = {
    choice_of(51, "Waveform", sine_or_square),
    real(190, "Tolerance", 0.1, 50, 5),
};

// Standard-current family A and family B models: generator and sweep up
// to 1.1 MHz.
constexpr double standard_max_frequency = 1100000;
constexpr config_override ak_standard_current[] = {
    real(19, "Start", 0.00001, standard_max_frequency, 1000),
    real(20, "End", 0.00001, standard_max_frequency, 100000),
    real(48, "Frequency", 0.00001, standard_max_frequency, 1000),
};

// Family C models without the third channel.
constexpr int two_channels[] = {0};
constexpr config_override ck_two_channel[] = {
    choice_of(84, "Input", two_channels),
};


}  // namespace

std::span<const config_model> config_models()
{
    // Built on first use: the family tables live in other files.
    static const config_model models[] = {
        {"ak-low-current", "family A/B table, low-current generator (two waveforms, 35 MHz)", ak_parameters(),
         ak_low_current, ak_mode_rules},
        {"ak-standard", "family A/B table, standard-current generator (five waveforms, 1.1 MHz)", ak_parameters(),
         ak_standard_current, ak_mode_rules},
        {"ck-two-channel", "family C table, two channels", ck_parameters(), ck_two_channel, ck_mode_rules},
        {"ck-three-channel", "family C table, three channels", ck_parameters(), {}, ck_mode_rules},
    };
    return models;
}

const config_model* find_config_model(std::string_view key)
{
    for (const auto& m : config_models()) {
        if (m.key == key)
            return &m;
    }
    return nullptr;
}

}  // namespace hvxsim
