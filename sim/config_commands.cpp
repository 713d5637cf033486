#include "sim/config_commands.h"

#include <charconv>

#include "sim/c_escape.h"
#include "sim/config_number_text.h"

namespace hvxsim {

namespace {

// The command number of a "config,{n}" capture; nothing when it does not
// fit an int (then no parameter has it).
std::optional<int> command_number(const std::string& text)
{
    int number = 0;
    const char* last = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), last, number);
    if (ec != std::errc() || ptr != last)
        return std::nullopt;
    return number;
}

std::string attempts_left(const config_fault& fault)
{
    return fault.remaining ? " (" + std::to_string(*fault.remaining) + " more)" : std::string();
}

// The reply a query knob forces, and its note.
reply_lines forced_reply(const config_fault& fault, const config_parameter& parameter, std::string& note)
{
    const std::string label = "config " + parameter_label(parameter) + ": ";
    switch (fault.what) {
    case config_fault::action::no_reply:
        note = label + "no reply (--no-reply)" + attempts_left(fault);
        return {};
    case config_fault::action::empty_reply:
        note = label + "empty reply (--empty-reply)" + attempts_left(fault);
        return {std::string()};
    case config_fault::action::text_reply:
        note = label + "reply \"" + c_escape(fault.text) + "\" (--bad-reply)" + attempts_left(fault);
        return {fault.text};
    case config_fault::action::value_reply: {
        const std::string text = parameter.kind == config_kind::choice ? whole_number_text(fault.value)
                                                                       : compact_exponent_text(fault.value);
        note = label + "reply " + text + " (--out-of-limits)" + attempts_left(fault);
        return {text};
    }
    case config_fault::action::reject_write:
        break;
    }
    return {};
}

}  // namespace

reply_lines config_query(command_context& context)
{
    instrument_state& state = context.state;
    if (!state.config)
        return {};
    const auto number = command_number(context.args[0]);
    const config_parameter* parameter = number ? state.config->find(*number) : nullptr;
    if (!parameter) {
        context.note = "config " + context.args[0] + ": no such parameter, no reply";
        return {};
    }
    context.reply_delay = state.config_reply_delay;
    if (const auto fault = take_config_fault(state.config_faults, *number, true))
        return forced_reply(*fault, *parameter, context.note);
    return {*state.config->reply_text(*number)};
}

reply_lines config_write(command_context& context)
{
    instrument_state& state = context.state;
    if (!state.config)
        return {};
    const auto number = command_number(context.args[0]);
    const config_parameter* parameter = number ? state.config->find(*number) : nullptr;
    if (parameter) {
        if (const auto fault = take_config_fault(state.config_faults, *number, false)) {
            state.esr |= esr_refused;
            context.note = "config " + parameter_label(*parameter) + ": write refused (--reject-write)" +
                           attempts_left(*fault) + ", ESR " + std::to_string(state.esr);
            return {};
        }
    }
    if (!number || !state.config->write(*number, context.args[1], context.note)) {
        if (!number)
            context.note = "config " + context.args[0] + ": no such parameter";
        state.esr |= esr_refused;
        context.note += ", ESR " + std::to_string(state.esr);
    }
    return {};
}

reply_lines event_status_query(command_context& context)
{
    const unsigned esr = context.state.esr;
    context.state.esr = 0;
    return {std::to_string(esr)};
}

reply_lines suspend_on(command_context& context)
{
    instrument_state& state = context.state;
    if (state.suspend_busy) {
        state.esr |= esr_busy;
        context.note = "suspend refused (--suspend-busy)";
        return {};
    }
    state.suspended = true;
    return {};
}

reply_lines suspend_off(command_context& context)
{
    context.state.suspended = false;
    return {};
}

}  // namespace hvxsim
