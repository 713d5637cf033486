// The configurations the simulator can hold, one per instrument model: a
// family's parameter table, the limits in which this model differs from its
// family, and which input values make sense in which operation mode.
#pragma once

#include <span>
#include <string_view>

#include "sim/config_parameter.h"

namespace hvxsim {

// Parameter 1 holds the operation mode in both families.
inline constexpr int operation_mode_parameter = 1;

// Where a model's limits differ from its family's table: the row that
// replaces the table's row for that parameter (same number and kind).
using config_override = config_parameter;

// The values of an input parameter that mean something in the listed
// operation modes (instrument numbering). When the mode changes to one of
// them and the input holds anything else, the input takes the first listed
// value. Writes of the input are not held to these values: the program may
// write an input for the coming mode before it writes the mode itself.
struct config_mode_rule {
    int parameter;
    std::span<const int> modes;
    std::span<const int> values;
};

struct config_model {
    std::string_view key;          // named by the identity presets
    std::string_view description;  // one line for the listing
    std::span<const config_parameter> parameters;
    std::span<const config_override> overrides;
    std::span<const config_mode_rule> mode_rules;
};

std::span<const config_model> config_models();

// The model with this key, or nullptr.
const config_model* find_config_model(std::string_view key);

}  // namespace hvxsim
