#include "impedance/piezo_result_fields.h"

#include "graph/round_trip_text.h"

const std::array<s_piezo_result_field, PIEZO_RESULT_FIELDS> piezo_result_fields = {{
    {"z_min", &piezo_result::z_min},
    {"z_max", &piezo_result::z_max},
    {"w_r", &piezo_result::w_r},
    {"w_a", &piezo_result::w_a},
    {"r", &piezo_result::r},
    {"c_p", &piezo_result::c_p},
    {"c", &piezo_result::c},
    {"l", &piezo_result::l},
}};

std::string piezo_field_text(const piezo_result& result, const s_piezo_result_field& field)
{
    return round_trip_text(result.*field.member);
}
