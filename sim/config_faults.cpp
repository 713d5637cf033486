#include "sim/config_faults.h"

#include <charconv>

#include "sim/c_escape.h"
#include "sim/config_number_text.h"

namespace hvxsim {

namespace {

constexpr unsigned long max_parameter_number = 9999;

bool parse_count(std::string_view text, unsigned long min, unsigned long max, unsigned long& value)
{
    const char* last = text.data() + text.size();
    unsigned long parsed = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), last, parsed);
    if (text.empty() || ec != std::errc() || ptr != last || parsed < min || parsed > max)
        return false;
    value = parsed;
    return true;
}

bool all_digits(std::string_view text)
{
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Splits a final ":K" off argument into fault.remaining.
bool take_attempt_count(std::string_view& argument, config_fault& fault, std::string& error)
{
    const auto colon = argument.rfind(':');
    if (colon == std::string_view::npos || !all_digits(argument.substr(colon + 1)))
        return true;
    unsigned long count = 0;
    if (!parse_count(argument.substr(colon + 1), 1, 1000000, count)) {
        error = "the attempt count after \":\" must be from 1 to 1000000";
        return false;
    }
    fault.remaining = count;
    argument = argument.substr(0, colon);
    return true;
}

bool take_parameter(std::string_view text, config_fault& fault, std::string& error)
{
    unsigned long number = 0;
    if (!parse_count(text, 0, max_parameter_number, number)) {
        error = "expected a parameter number from 0 to " + std::to_string(max_parameter_number) + ", got " +
                quoted(text);
        return false;
    }
    fault.parameter = static_cast<int>(number);
    return true;
}

}  // namespace

bool is_query_fault(config_fault::action what)
{
    return what != config_fault::action::reject_write;
}

std::optional<config_fault> parse_config_fault(config_fault::action what, std::string_view argument,
                                               std::string& error)
{
    config_fault fault{what, 0, {}, 0, std::nullopt};
    if (!take_attempt_count(argument, fault, error))
        return std::nullopt;

    const bool takes_reply = what == config_fault::action::text_reply || what == config_fault::action::value_reply;
    if (!takes_reply)
        return take_parameter(argument, fault, error) ? std::optional(fault) : std::nullopt;

    const auto eq = argument.find('=');
    if (eq == std::string_view::npos) {
        error = "expected N=..., got " + quoted(argument);
        return std::nullopt;
    }
    if (!take_parameter(argument.substr(0, eq), fault, error))
        return std::nullopt;
    const std::string_view reply = argument.substr(eq + 1);
    if (what == config_fault::action::text_reply)
        return c_unescape(reply, fault.text, error) ? std::optional(fault) : std::nullopt;
    if (!parse_real_number(reply, fault.value)) {
        error = quoted(reply) + " is not a number";
        return std::nullopt;
    }
    return fault;
}

std::optional<config_fault> take_config_fault(std::vector<config_fault>& faults, int parameter, bool query)
{
    for (config_fault& f : faults) {
        if (f.parameter != parameter || is_query_fault(f.what) != query)
            continue;
        if (f.remaining && *f.remaining == 0)
            continue;
        if (f.remaining)
            --*f.remaining;
        return f;
    }
    return std::nullopt;
}

}  // namespace hvxsim
