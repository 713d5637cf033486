#include "app/program_identity.h"

#include <string_view>

std::string program_title()
{
    const std::string_view version = program_version_text;
    return std::string(program_name) + ' ' + std::string(version.substr(0, version.find(' ')));
}
