// "config read", "config get ID" and "config set ID VALUE": the instrument's
// configuration through the model of its type. Each identifies the
// instrument first (its type selects the model and the parameter names),
// then transfers; values print one per line as
//   command number TAB name TAB display string.
// Failures print the program's own texts (through the terminal prompt, on
// standard output) and exit 1.
#include <cstdio>
#include <string>

#include "app/user_prompt.h"
#include "cli_context.h"
#include "config/config_selection.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "config/parameter_names.h"
#include "config_commands.h"
#include "instrument_setup.h"
#include "link/connection.h"
#include "link/identify.h"
#include "whole_configuration.h"

namespace {

constexpr int MODE_PARAMETER = 1;

const char* name_of(int id, const s_connection* conn)
{
    const char* const* names = parameter_names_for_type(conn->instrument_type);
    return names ? names[id] : "";
}

// The value line, and a warning line on standard error for a value that the
// instrument reported outside the parameter's own limits (the exit status
// stays that of the transfer).
void print_parameter(const cli_context& context, const instrument_config& model, int id)
{
    const s_config_param& record = *model.record(id);
    const int command = config_transfer_command(id, record);
    const char* name = name_of(id, context.connection);
    std::fprintf(context.out, "%d\t%s\t%s\n", command, name, model.get_display_string(id).c_str());
    if (config_value_outside_limits(record)) {
        std::fprintf(context.err, "Warning: %s\n", config_outside_limits_text(name, command, record).c_str());
    }
}

// ID: a parameter of the first bank, 0 to 255, in decimal.
bool parse_id(const cli_context& context, int* id)
{
    if (context.args.empty()) {
        cli_usage_error(context, "missing ID");
        return false;
    }
    const std::string& text = context.args[0];
    int value = 0;
    bool digits = !text.empty() && text.size() <= 3;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
        value = value * 10 + (c - '0');
    }
    if (!digits || value >= CONFIG_BANK_SIZE) {
        cli_usage_error(context, "ID must be a parameter number from 0 to 255: " + text);
        return false;
    }
    *id = value;
    return true;
}

// VALUE for a record: a whole number for a choice, otherwise a text the
// record can hold.
bool valid_value(const cli_context& context, const s_config_param& record, const std::string& value)
{
    if (record.kind == CONFIG_KIND_CHOICE) {
        std::size_t i = (value.size() > 1 && (value[0] == '-' || value[0] == '+')) ? 1 : 0;
        bool whole = i < value.size() && value.size() <= 10;
        for (; i < value.size(); ++i) {
            whole = whole && value[i] >= '0' && value[i] <= '9';
        }
        if (!whole) {
            cli_usage_error(context, "VALUE must be a whole number (the option's index): " + value);
            return false;
        }
        return true;
    }
    if (value.empty() || value.size() >= CONFIG_VALUE_SIZE) {
        cli_usage_error(context, "VALUE must be 1 to 19 characters: " + value);
        return false;
    }
    return true;
}

// Opens the link for a single transfer; the open failure printed as the
// identification prints it.
bool open_link(cli_context& context)
{
    s_connection* conn = context.connection;
    if (link_open(conn) == 0) {
        return true;
    }
    link_close(conn);
    context.prompt->tell(link_open_failure_message(conn).c_str(), CONFIG_TRANSFER_CAPTION, prompt_icon::warning);
    return false;
}

// A parameter whose translation depends on the operation mode is read or
// written with the instrument's mode, so parameter 1 is read first.
void read_mode_if_needed(instrument_config& model, int id, s_connection* conn)
{
    if (id != MODE_PARAMETER && model.translation_depends_on_mode(id)) {
        model.read_param(MODE_PARAMETER, conn, true);
    }
}

void tell_read_error(cli_context& context, const config_transfer_error& error)
{
    const char* name = error.id() < PARAMETER_NAME_COUNT ? name_of(error.id(), context.connection) : "";
    const std::string text = config_read_error_text(error.code(), name, false);
    context.prompt->tell(text.c_str(), CONFIG_TRANSFER_CAPTION, prompt_icon::warning);
}

// Why write_param sent nothing, in the terms of the value that was refused.
void tell_write_failure(cli_context& context, const instrument_config& model, int id)
{
    const s_config_param& record = *model.record(id);
    const int command = config_transfer_command(id, record);
    const char* name = name_of(id, context.connection);
    std::string text;
    const config_write_refusal why = config_check_writable(record);
    if (const std::optional<std::int32_t> code = config_last_write_error()) {
        text = config_write_error_text(*code);
    } else if (why == config_write_refusal::binary_format) {
        text = config_binary_format_text(name, command);
    } else if (why == config_write_refusal::no_value) {
        text = std::string(name) + " (id:" + std::to_string(command) + ") has no value to send";
    } else if (record.min != CONFIG_NO_LIMIT && record.max != CONFIG_NO_LIMIT) {
        text = config_limits_text(name, command, record);
    } else {
        text = std::string(name) + " (id:" + std::to_string(command) + " val:" + model.get_value_string(id) +
               ") is out of limits";
    }
    context.prompt->tell(text.c_str(), CONFIG_TRANSFER_CAPTION, prompt_icon::warning);
}

}  // namespace

int run_config_read(cli_context& context)
{
    if (!context.args.empty()) {
        return cli_usage_error(context, "config read takes no arguments");
    }
    const whole_transfer read = read_whole_configuration(context);
    if (read == whole_transfer::failed) {
        return CLI_FAILED;
    }
    // Up to two failed parameters still make a read; their values stay as
    // they were, so the listing is shown, and the exit status says it failed.
    const char* const* names = parameter_names_for_type(context.connection->instrument_type);
    for (int id = 1; id < PARAMETER_NAME_COUNT; ++id) {
        if (!parameter_unused(names[id])) {
            print_parameter(context, *current_config, id);
        }
    }
    return read == whole_transfer::complete ? CLI_OK : CLI_FAILED;
}

int run_config_get(cli_context& context)
{
    int id = 0;
    if (!parse_id(context, &id)) {
        return CLI_USAGE;
    }
    if (context.args.size() > 1) {
        return cli_usage_error(context, "config get takes one ID");
    }
    if (!identify_and_select(context) || !open_link(context)) {
        return CLI_FAILED;
    }
    instrument_config& model = *current_config;
    try {
        read_mode_if_needed(model, id, context.connection);
        model.read_param(id, context.connection, true);
    } catch (const config_transfer_error& error) {
        link_close(context.connection);
        tell_read_error(context, error);
        return CLI_FAILED;
    }
    link_close(context.connection);
    print_parameter(context, model, id);
    return CLI_OK;
}

int run_config_set(cli_context& context)
{
    int id = 0;
    if (!parse_id(context, &id)) {
        return CLI_USAGE;
    }
    if (context.args.size() != 2) {
        return cli_usage_error(context, "config set takes an ID and a VALUE");
    }
    const std::string& value = context.args[1];
    if (!identify_and_select(context)) {
        return CLI_FAILED;
    }
    instrument_config& model = *current_config;
    if (!valid_value(context, *model.record(id), value)) {
        return CLI_USAGE;
    }
    if (!open_link(context)) {
        return CLI_FAILED;
    }
    try {
        read_mode_if_needed(model, id, context.connection);
    } catch (const config_transfer_error& error) {
        link_close(context.connection);
        tell_read_error(context, error);
        return CLI_FAILED;
    }
    model.set_value_text(id, value.c_str());
    const bool written = model.write_param(id, context.connection, true);
    link_close(context.connection);
    if (!written) {
        tell_write_failure(context, model, id);
        return CLI_FAILED;
    }
    print_parameter(context, model, id);
    return CLI_OK;
}
