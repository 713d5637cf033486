#include "config/model_param_table.h"

#include <string_view>

std::vector<std::string> model_row_options(const s_model_param_row& row)
{
    std::vector<std::string> options;
    std::string_view rest = row.options ? row.options : "";
    while (!rest.empty()) {
        const std::size_t bar = rest.find('|');
        options.emplace_back(rest.substr(0, bar));
        rest = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);
    }
    return options;
}

void define_model_params(instrument_config& model, std::span<const s_model_param_row> rows)
{
    for (const s_model_param_row& row : rows) {
        if (row.kind == CONFIG_KIND_CHOICE) {
            model.define_choice_param(model.record(row.id), row.id, static_cast<int>(row.min),
                                      static_cast<int>(row.max), 0, model_row_options(row));
        } else {
            model.define_real_param(model.record(row.id), row.id, row.min, row.max, row.default_text);
        }
    }
}
