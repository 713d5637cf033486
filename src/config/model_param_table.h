// The parameter tables of the two family models as data: one row per
// parameter the model defines, with its name in the instrument type's name
// table, its kind, limits, default and option names. The model constructors
// define their records from these rows, and the name tables of types 7 and 9
// are built from the same rows, so a parameter is described in one place.
#pragma once

#include <span>
#include <string>
#include <vector>

#include "config/instrument_config.h"

struct s_model_param_row {
    int id;                 // parameter id, also the command number
    const char* name;       // name in the type's name table; nullptr: not named (no bulk transfer)
    config_kind kind;
    double min;             // CONFIG_NO_LIMIT: no lower limit
    double max;             // CONFIG_NO_LIMIT: no upper limit
    const char* default_text;  // real: the default text (nullptr: empty)
    const char* options;       // choice: option names separated by '|', index 0 first ("" for a plain integer)
};

// Builders that keep one table row on one line.
namespace param_rows {

inline constexpr double NO_LIMIT = CONFIG_NO_LIMIT;

// A choice parameter; every choice starts at 0. Its limits bound the value in
// the instrument's numbering, so they may exceed the option count.
constexpr s_model_param_row choice(int id, const char* name, int min, int max, const char* options)
{
    return {id, name, CONFIG_KIND_CHOICE, static_cast<double>(min), static_cast<double>(max), nullptr, options};
}

// A real parameter, held as the instrument's text.
constexpr s_model_param_row real(int id, const char* name, double min, double max,
                                 const char* default_text = nullptr)
{
    return {id, name, CONFIG_KIND_REAL, min, max, default_text, ""};
}

}  // namespace param_rows

// The option names of a row, index 0 first.
std::vector<std::string> model_row_options(const s_model_param_row& row);

// Defines every row's record in the model (first bank).
void define_model_params(instrument_config& model, std::span<const s_model_param_row> rows);

// The rows of each family model, ordered by id.
std::span<const s_model_param_row> hvx_cfg_ak_param_rows();
std::span<const s_model_param_row> hvx_cfg_ck_param_rows();
