#include "sim/config_parameter.h"

#include <algorithm>
#include <cmath>

#include "sim/config_number_text.h"

namespace hvxsim {

bool accepts(const config_parameter& parameter, double value)
{
    if (!std::isfinite(value))
        return false;
    if (parameter.kind == config_kind::choice) {
        if (value != std::floor(value))
            return false;
        if (!parameter.allowed.empty())
            return std::find(parameter.allowed.begin(), parameter.allowed.end(), value) != parameter.allowed.end();
    }
    if (parameter.min && value < *parameter.min)
        return false;
    if (parameter.max && value > *parameter.max)
        return false;
    return true;
}

std::string accepted_text(const config_parameter& parameter)
{
    if (parameter.kind == config_kind::choice) {
        std::string text;
        if (parameter.allowed.empty()) {
            text = whole_number_text(parameter.min.value_or(0)) + "-" + whole_number_text(parameter.max.value_or(0));
        } else {
            for (int v : parameter.allowed) {
                if (!text.empty())
                    text += ' ';
                text += std::to_string(v);
            }
        }
        return text;
    }
    if (parameter.min && parameter.max)
        return plain_number_text(*parameter.min) + " to " + plain_number_text(*parameter.max);
    if (parameter.min)
        return "at least " + plain_number_text(*parameter.min);
    if (parameter.max)
        return "at most " + plain_number_text(*parameter.max);
    return "no limits";
}

}  // namespace hvxsim
