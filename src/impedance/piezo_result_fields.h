// Every field of piezo_result by name, in the record's order, with its value
// as text that reads back as the same value: what the command-line tool
// prints ("name<TAB>value") and what the reports name.
#pragma once

#include <array>
#include <string>

#include "impedance/piezo_analysis.h"

struct s_piezo_result_field {
    const char* name;  // the field's name in the record
    double piezo_result::*member;
};

inline constexpr int PIEZO_RESULT_FIELDS = 8;
extern const std::array<s_piezo_result_field, PIEZO_RESULT_FIELDS> piezo_result_fields;

// The field's value through round_trip_text ("1.5e-006", "inf").
std::string piezo_field_text(const piezo_result& result, const s_piezo_result_field& field);
