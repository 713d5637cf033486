#include "app/program_identity.h"

#include <string_view>

std::string program_version()
{
    const std::string_view text = program_version_text;
    return std::string(text.substr(0, text.find(' ')));
}

std::string program_title()
{
    return std::string(program_name) + ' ' + program_version();
}
