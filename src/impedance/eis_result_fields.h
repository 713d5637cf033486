// Every field of eis_result by name, in the record's order, with its value
// as text that reads back as the same value: what the command-line tool
// prints and what tests compare.
#pragma once

#include <array>
#include <string>
#include <variant>

#include "impedance/eis_analysis.h"

struct s_eis_result_field {
    const char* name;  // the field's name in the record
    std::variant<int eis_result::*, double eis_result::*, bool eis_result::*> member;
};

inline constexpr int EIS_RESULT_FIELDS = 13;
extern const std::array<s_eis_result_field, EIS_RESULT_FIELDS> eis_result_fields;

// The field's value: an index in decimal, a flag as 0 or 1, a number in the
// fewest significant digits (at most 17) that read back as the same double,
// in the exponent helper's form ("1.5e-006"); "inf", "-inf" or "nan" when not
// finite.
std::string eis_field_text(const eis_result& result, const s_eis_result_field& field);
