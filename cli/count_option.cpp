#include "count_option.h"

#include <cstdlib>
#include <string>

bool parse_count_option(cli_context& context, const char* command, long* count, int* status)
{
    *count = 0;
    const std::vector<std::string>& args = context.args;
    if (args.empty()) {
        return true;
    }
    if (args.size() != 2 || args[0] != "--count") {
        *status = cli_usage_error(context, std::string(command) + " takes only --count N");
        return false;
    }
    char* end = nullptr;
    const long value = std::strtol(args[1].c_str(), &end, 10);
    if (args[1].empty() || *end != '\0' || value < 1 || value > MAX_COUNT) {
        *status = cli_usage_error(context, "--count takes a number from 1 to " + std::to_string(MAX_COUNT));
        return false;
    }
    *count = value;
    return true;
}
