#include "tab_line.h"

std::string tab_joined(const std::vector<std::string>& fields)
{
    std::string line;
    for (const std::string& field : fields) {
        if (&field != &fields.front()) {
            line += '\t';
        }
        line += field;
    }
    return line;
}

void print_tab_line(std::FILE* stream, const std::vector<std::string>& fields)
{
    std::fprintf(stream, "%s\n", tab_joined(fields).c_str());
}
