#include "config/settings_report.h"

#include <sstream>
#include <utility>

#include "app/cp1252_case.h"
#include "config/instrument_config.h"
#include "config/parameter_names.h"

namespace {

constexpr int MODE_PARAMETER = 1;
constexpr const char* LINE_END = "\r\n";

void append_section(std::string& text, const instrument_config& model, const char* const* names,
                    const char* heading, std::span<const int> ids)
{
    text += heading;
    for (const int id : ids) {
        const int number = instrument_config::command_number_of(id);
        const char* name = names != nullptr && number < PARAMETER_NAME_COUNT ? names[number] : "";
        text += ',';
        text += cp1252_lower(name);
        text += ',';
        text += cp1252_lower(model.get_display_string(id));
        text += LINE_END;
    }
}

}  // namespace

std::string settings_report_text(const instrument_config& model, const s_report_layout& layout)
{
    const char* const* names = parameter_names_for_type(layout.name_table_type);
    std::string text;
    for (const s_report_section& section : layout.general) {
        append_section(text, model, names, section.heading, section.ids);
    }
    const int mode = model.get_value_int(MODE_PARAMETER);
    if (mode >= 0 && static_cast<std::size_t>(mode) < layout.modes.size()) {
        append_section(text, model, names, REPORT_MODE_HEADING, layout.modes[static_cast<std::size_t>(mode)]);
    }
    return text;
}

std::string settings_report(const instrument_config& model)
{
    std::ostringstream out;
    model.write_report(out);
    return std::move(out).str();
}
