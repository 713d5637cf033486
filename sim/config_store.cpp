#include "sim/config_store.h"

#include <algorithm>

#include "sim/c_escape.h"
#include "sim/config_number_text.h"

namespace hvxsim {

namespace {

bool contains(std::span<const int> values, double value)
{
    return std::find(values.begin(), values.end(), value) != values.end();
}

std::string value_text(const config_parameter& parameter, double value)
{
    return parameter.kind == config_kind::choice ? whole_number_text(value) : compact_exponent_text(value);
}

}  // namespace

std::string parameter_label(const config_parameter& parameter)
{
    std::string label = std::to_string(parameter.number);
    label += " (";
    label += parameter.name;
    label += ')';
    return label;
}

config_store::config_store(const config_model& model)
    : model_(&model), parameters_(model.parameters.begin(), model.parameters.end())
{
    for (const config_override& row : model.overrides) {
        auto it = std::find_if(parameters_.begin(), parameters_.end(),
                               [&](const config_parameter& p) { return p.number == row.number; });
        if (it != parameters_.end())
            *it = row;
    }
    values_.reserve(parameters_.size());
    for (const auto& p : parameters_)
        values_.push_back(p.initial);
}

const config_parameter* config_store::find(int number) const
{
    for (const auto& p : parameters_) {
        if (p.number == number)
            return &p;
    }
    return nullptr;
}

std::optional<double> config_store::value(int number) const
{
    const config_parameter* p = find(number);
    if (!p)
        return std::nullopt;
    return values_[static_cast<std::size_t>(p - parameters_.data())];
}

std::optional<std::string> config_store::reply_text(int number) const
{
    const config_parameter* p = find(number);
    if (!p)
        return std::nullopt;
    return value_text(*p, values_[static_cast<std::size_t>(p - parameters_.data())]);
}

bool config_store::write(int number, std::string_view text, std::string& note)
{
    const config_parameter* p = find(number);
    if (!p) {
        note = "config " + std::to_string(number) + ": no such parameter";
        return false;
    }
    const std::string label = "config " + parameter_label(*p);
    double value = 0;
    const bool readable = p->kind == config_kind::choice ? parse_whole_number(text, value)
                                                         : parse_real_number(text, value);
    if (!readable) {
        note = label + ": " + quoted(text) +
               (p->kind == config_kind::choice ? " is not a whole number" : " is not a number");
        return false;
    }
    if (!accepts(*p, value)) {
        note = label + ": " + std::string(text) + " is outside " + accepted_text(*p);
        return false;
    }
    values_[static_cast<std::size_t>(p - parameters_.data())] = value;
    note = label + " = " + value_text(*p, value);
    if (number == operation_mode_parameter)
        follow_mode(value, note);
    return true;
}

void config_store::follow_mode(double mode, std::string& note)
{
    for (const config_mode_rule& rule : model_->mode_rules) {
        if (!contains(rule.modes, mode))
            continue;
        const config_parameter* p = find(rule.parameter);
        if (!p)
            continue;
        double& held = values_[static_cast<std::size_t>(p - parameters_.data())];
        if (contains(rule.values, held))
            continue;
        note += "; " + parameter_label(*p) + " " + whole_number_text(held) + " -> " +
                std::to_string(rule.values.front());
        held = rule.values.front();
    }
}

}  // namespace hvxsim
