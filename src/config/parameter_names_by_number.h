// The name tables of the instrument types without a model of their own, as
// lists of (command number, name); parameter_names.cpp expands them into the
// 256-entry tables the transfers index.
#pragma once

#include <span>

struct s_parameter_name {
    int number;
    const char* name;
};

std::span<const s_parameter_name> type_13_parameter_names();
std::span<const s_parameter_name> type_1_and_6_parameter_names();
std::span<const s_parameter_name> type_2_and_3_parameter_names();
std::span<const s_parameter_name> type_4_parameter_names();
std::span<const s_parameter_name> type_5_parameter_names();
std::span<const s_parameter_name> type_16_parameter_names();
