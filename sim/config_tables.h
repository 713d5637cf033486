// The parameter tables of the two HVX instrument families, one row per
// parameter in ascending command number, in the instrument's numbering.
// Family A and B instruments hold the "ak" table, family C instruments the
// "ck" table; config_models.h adapts them per model.
#pragma once

#include <span>

#include "sim/config_parameter.h"

namespace hvxsim {

std::span<const config_parameter> ak_parameters();
std::span<const config_parameter> ck_parameters();

}  // namespace hvxsim
