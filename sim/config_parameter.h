// One configuration parameter of the simulated instrument, as the
// instrument itself knows it: its command number ("config,N?"), whether it
// holds a choice (a whole number) or a real, the values it accepts and the
// value it has after power-up. Everything is in the instrument's own
// numbering; the program on the other side keeps its own tables and
// translates, so the two check each other.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace hvxsim {

enum class config_kind { choice, real };

struct config_parameter {
    int number;
    std::string_view name;            // for the transcript and the listing
    config_kind kind;
    std::optional<double> min;        // none: no lower limit
    std::optional<double> max;        // none: no upper limit
    std::span<const int> allowed;     // choice: the accepted values when not every whole number from min to max is
    double initial;                   // after power-up
};

// Row builders, so the tables read as data.
// A choice accepting every whole number from min to max.
constexpr config_parameter choice(int number, std::string_view name, int min, int max, int initial = 0)
{
    return {number, name, config_kind::choice, min, max, {}, static_cast<double>(initial)};
}

// A choice accepting exactly the listed values (ascending).
constexpr config_parameter choice_of(int number, std::string_view name, std::span<const int> allowed,
                                     int initial = 0)
{
    return {number, name, config_kind::choice, allowed.front(), allowed.back(), allowed,
            static_cast<double>(initial)};
}

// A real between min and max inclusive.
constexpr config_parameter real(int number, std::string_view name, double min, double max, double initial)
{
    return {number, name, config_kind::real, min, max, {}, initial};
}

// A real without limits.
constexpr config_parameter free_real(int number, std::string_view name, double initial = 0)
{
    return {number, name, config_kind::real, std::nullopt, std::nullopt, {}, initial};
}

// True when the parameter accepts value: a choice must be a whole number in
// its allowed list or range, a real must lie within its limits.
bool accepts(const config_parameter& parameter, double value);

// The accepted values for messages and the listing: "0 1 2 4 6", "0-8",
// "0.01 to 100", "at least 0.5", "no limits".
std::string accepted_text(const config_parameter& parameter);

}  // namespace hvxsim
