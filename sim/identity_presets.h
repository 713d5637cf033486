// The instruments the simulator can pretend to be, selected by
// --instrument KEY. Each preset's "*IDN?" reply is maker,model,serial,firmware.
// The program accepts only some maker/model prefixes and classifies the
// model code after the first comma, so the table covers every family and
// variant it tells apart, plus one accepted maker with an unknown model.
// The HVX presets hold a configuration (config_models.h); the others have
// none and ignore the config commands.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace hvxsim {

struct identity_preset {
    std::string_view key;
    std::string_view maker;
    std::string_view model;
    std::string_view serial;
    std::string_view firmware;
    std::string_view description;  // one line for --help
    std::string_view configuration;  // config_models.h key; empty: no configuration
};

inline constexpr std::string_view default_instrument_key = "hvxa";

std::span<const identity_preset> identity_presets();

// The preset with this key (exact, lower case), or nullptr.
const identity_preset* find_identity_preset(std::string_view key);

// "maker,model,serial,firmware".
std::string identity_text(const identity_preset& preset);

}  // namespace hvxsim
