#include "config/parameter_names_listing.h"

#include "config/instrument_config.h"
#include "config/parameter_names.h"

std::string named_parameter_line(const instrument_config& model, const char* const* names, int number)
{
    if (names == nullptr || number < 0 || number >= PARAMETER_NAME_COUNT || parameter_unused(names[number])) {
        return {};
    }
    return std::to_string(number) + "\t" + names[number] + "\t" + model.get_display_string(number) + "\n";
}

std::string named_parameter_lines(const instrument_config& model, const char* const* names)
{
    std::string lines;
    for (int number = 0; number < PARAMETER_NAME_COUNT; ++number) {
        lines += named_parameter_line(model, names, number);
    }
    return lines;
}
