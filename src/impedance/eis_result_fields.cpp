#include "impedance/eis_result_fields.h"

#include "graph/round_trip_text.h"

const std::array<s_eis_result_field, EIS_RESULT_FIELDS> eis_result_fields = {{
    {"min_real_index", &eis_result::min_real_index},
    {"arc_end_index", &eis_result::arc_end_index},
    {"peak_index", &eis_result::peak_index},
    {"min_real", &eis_result::min_real},
    {"max_real", &eis_result::max_real},
    {"max_imaginary", &eis_result::max_imaginary},
    {"peak_frequency", &eis_result::peak_frequency},
    {"rs", &eis_result::rs},
    {"rp", &eis_result::rp},
    {"cp", &eis_result::cp},
    {"min_real_found", &eis_result::min_real_found},
    {"arc_end_found", &eis_result::arc_end_found},
    {"peak_found", &eis_result::peak_found},
}};

std::string eis_field_text(const eis_result& result, const s_eis_result_field& field)
{
    if (const auto* index = std::get_if<int eis_result::*>(&field.member)) {
        return std::to_string(result.**index);
    }
    if (const auto* flag = std::get_if<bool eis_result::*>(&field.member)) {
        return result.**flag ? "1" : "0";
    }
    return round_trip_text(result.*std::get<double eis_result::*>(field.member));
}
