#include "sim/config_setup.h"

#include <cmath>

#include "sim/config_models.h"
#include "sim/identity_presets.h"

namespace hvxsim {

namespace {

std::string_view option_name(config_fault::action what)
{
    switch (what) {
    case config_fault::action::reject_write:
        return "--reject-write";
    case config_fault::action::no_reply:
        return "--no-reply";
    case config_fault::action::empty_reply:
        return "--empty-reply";
    case config_fault::action::text_reply:
        return "--bad-reply";
    case config_fault::action::value_reply:
        return "--out-of-limits";
    }
    return "";
}

bool check_fault(const config_store& store, const config_fault& fault, std::string& error)
{
    const std::string knob(option_name(fault.what));
    const config_parameter* parameter = store.find(fault.parameter);
    if (!parameter) {
        error = knob + ": the " + std::string(store.model().key) + " configuration has no parameter " +
                std::to_string(fault.parameter);
        return false;
    }
    if (fault.what != config_fault::action::value_reply)
        return true;
    if (parameter->kind == config_kind::choice && fault.value != std::floor(fault.value)) {
        error = knob + ": parameter " + parameter_label(*parameter) + " is a choice and needs a whole number";
        return false;
    }
    if (accepts(*parameter, fault.value)) {
        error = knob + ": parameter " + parameter_label(*parameter) + " accepts that value (" +
                accepted_text(*parameter) + ")";
        return false;
    }
    return true;
}

std::string padded(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.resize(width, ' ');
    return text;
}

}  // namespace

bool set_up_configuration(const sim_options& options, instrument_state& state, std::string& error)
{
    state.config_reply_delay = std::chrono::milliseconds(options.slow_config_ms);
    state.suspend_busy = options.suspend_busy;

    const identity_preset* preset = find_identity_preset(options.instrument_key);
    const config_model* model = preset ? find_config_model(preset->configuration) : nullptr;
    if (!model) {
        if (!options.initial_values.empty() || !options.config_faults.empty()) {
            error = "instrument \"" + options.instrument_key +
                    "\" has no configuration, so --set and the parameter knobs do not apply";
            return false;
        }
        return true;
    }

    state.config.emplace(*model);
    for (const auto& [number, text] : options.initial_values) {
        std::string note;
        if (!state.config->write(number, text, note)) {
            error = "--set " + std::to_string(number) + "=" + text + ": " + note;
            return false;
        }
    }
    for (const config_fault& fault : options.config_faults) {
        if (!check_fault(*state.config, fault, error))
            return false;
    }
    state.config_faults = options.config_faults;
    return true;
}

std::string configuration_listing(const std::string& instrument_key, const instrument_state& state)
{
    if (!state.config)
        return instrument_key + ": no configuration\n";
    const config_store& store = *state.config;
    std::string out = instrument_key + ": " + std::string(store.model().key) + ", " +
                      std::string(store.model().description) + "\n";
    for (const config_parameter& p : store.parameters()) {
        out += padded("  " + std::to_string(p.number), 7);
        out += padded(std::string(p.name), 24);
        out += padded(p.kind == config_kind::choice ? "choice" : "real", 8);
        out += padded(accepted_text(p), 24);
        out += *store.reply_text(p.number);
        out += '\n';
    }
    return out;
}

}  // namespace hvxsim
