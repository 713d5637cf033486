// The eight parameter name tables, expanded once from their data: types 7
// and 9 from the family models' parameter rows (a row without a name is not
// named), the other six from their (number, name) lists.
#include "config/parameter_names.h"

#include <array>
#include <cstring>

#include "config/model_param_table.h"
#include "config/parameter_names_by_number.h"

namespace {

using name_table = std::array<const char*, PARAMETER_NAME_COUNT>;

enum table_index { AK_TABLE, CK_TABLE, T13_TABLE, T1_6_TABLE, T2_3_TABLE, T4_TABLE, T5_TABLE, T16_TABLE, TABLE_COUNT };

struct s_type_table {
    int instrument_type;
    table_index table;
};

// Which table each instrument type uses; any type not listed has none.
constexpr s_type_table type_tables[] = {
    {7, AK_TABLE},   {9, CK_TABLE},   {13, T13_TABLE}, {1, T1_6_TABLE}, {6, T1_6_TABLE},
    {2, T2_3_TABLE}, {3, T2_3_TABLE}, {4, T4_TABLE},   {5, T5_TABLE},   {16, T16_TABLE},
};

name_table unused_table()
{
    name_table table;
    table.fill(UNUSED_PARAMETER_NAME);
    return table;
}

bool in_table(int number)
{
    return number > 0 && number < PARAMETER_NAME_COUNT;
}

name_table from_model(std::span<const s_model_param_row> rows)
{
    name_table table = unused_table();
    for (const s_model_param_row& row : rows) {
        if (row.name != nullptr && in_table(row.id)) {
            table[static_cast<std::size_t>(row.id)] = row.name;
        }
    }
    return table;
}

name_table from_list(std::span<const s_parameter_name> names)
{
    name_table table = unused_table();
    for (const s_parameter_name& entry : names) {
        if (in_table(entry.number)) {
            table[static_cast<std::size_t>(entry.number)] = entry.name;
        }
    }
    return table;
}

const std::array<name_table, TABLE_COUNT>& all_tables()
{
    static const std::array<name_table, TABLE_COUNT> tables = {
        from_model(hvx_cfg_ak_param_rows()),
        from_model(hvx_cfg_ck_param_rows()),
        from_list(type_13_parameter_names()),
        from_list(type_1_and_6_parameter_names()),
        from_list(type_2_and_3_parameter_names()),
        from_list(type_4_parameter_names()),
        from_list(type_5_parameter_names()),
        from_list(type_16_parameter_names()),
    };
    return tables;
}

}  // namespace

const char* const* parameter_names_for_type(int instrument_type)
{
    for (const s_type_table& entry : type_tables) {
        if (entry.instrument_type == instrument_type) {
            return all_tables()[entry.table].data();
        }
    }
    return nullptr;
}

bool parameter_unused(const char* name)
{
    return name == nullptr || std::strcmp(name, UNUSED_PARAMETER_NAME) == 0;
}
