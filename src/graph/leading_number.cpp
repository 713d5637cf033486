#include "graph/leading_number.h"

#include <cstdlib>
#include <string>

double leading_number(const char* begin, const char* end)
{
    if (begin == nullptr || end <= begin) {
        return 0.0;
    }
    // strtod needs a terminated text; instrument fields are short enough for
    // the string's own small buffer. The process stays in the C locale, so
    // the full stop is the decimal mark.
    const std::string field(begin, end);
    return std::strtod(field.c_str(), nullptr);
}
