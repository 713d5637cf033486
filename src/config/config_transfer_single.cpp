// One parameter between the model and the instrument: the base versions of
// read_param and write_param (the models call the *_with forms with their
// own log destination), and the checks they share with the bulk layer.
#include <cmath>
#include <cstring>
#include <string>

#include "app/debug_output.h"
#include "config/config_transfer.h"
#include "config/instrument_config.h"
#include "link/comms_log.h"
#include "link/connection.h"

namespace {

// A text value kept from a reply: at most 18 characters.
constexpr int READ_TEXT_SIZE = 19;
// The option of the number format parameters (38 and 198) that turns the
// instrument's replies into packed binary numbers.
constexpr const char* BINARY_NUMBER_FORMAT = "Binary";

thread_local std::optional<std::int32_t> last_write_error;

bool in_first_bank(int id)
{
    return id >= 0 && id < CONFIG_BANK_SIZE;
}

// Opens the link for a transfer that owns it, and closes it again on every
// way out. A link that does not open is a missing reply (ret 0).
class owned_link {
public:
    owned_link(s_connection* conn, bool quiet, int command_number) : conn_(quiet ? nullptr : conn)
    {
        if (conn_ && link_open(conn_) != 0) {
            link_close(conn_);
            conn_ = nullptr;
            throw config_transfer_error(config_error_code(command_number, 0));
        }
    }
    ~owned_link()
    {
        if (conn_) {
            link_close(conn_);
        }
    }
    owned_link(const owned_link&) = delete;
    owned_link& operator=(const owned_link&) = delete;

private:
    s_connection* conn_;
};

std::string text_of(const s_config_param& record)
{
    if (config_value_not_set(record)) {
        return {};
    }
    return std::string(record.value, strnlen(record.value, sizeof record.value));
}

bool outside(double value, double min, double max)
{
    return (max != CONFIG_NO_LIMIT && value > max) || (min != CONFIG_NO_LIMIT && value < min);
}

}  // namespace

void config_log_transfer_value(const std::string& text, bool to_comms_log)
{
    const std::string line = (text.empty() ? std::string("--") : text) + "\n";
    if (to_comms_log) {
        comms_log_write(line.c_str());
    } else {
        debug_output(line.c_str());
    }
}

std::string config_option_name(const s_config_param& record, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= record.options.size()) {
        return {};
    }
    return record.options[static_cast<std::size_t>(index)];
}

int config_transfer_command(int id, const s_config_param& record)
{
    return record.kind == CONFIG_KIND_UNDEFINED ? instrument_config::command_number_of(id) : record.command_number;
}

config_write_refusal config_check_writable(const s_config_param& record)
{
    if (record.kind == CONFIG_KIND_CHOICE) {
        const int value = config_int_of(record.value);
        if (outside(value, record.min, record.max)) {
            return config_write_refusal::out_of_limits;
        }
        return config_option_name(record, value) == BINARY_NUMBER_FORMAT ? config_write_refusal::binary_format
                                                                         : config_write_refusal::none;
    }
    const std::string text = text_of(record);
    if (text.empty()) {
        return config_write_refusal::no_value;
    }
    return outside(config_leading_double(text.c_str()), record.min, record.max) ? config_write_refusal::out_of_limits
                                                                              : config_write_refusal::none;
}

bool config_value_outside_limits(const s_config_param& record)
{
    if (record.kind == CONFIG_KIND_CHOICE) {
        return outside(config_int_of(record.value), record.min, record.max);
    }
    if (record.kind != CONFIG_KIND_REAL) {
        return false;
    }
    const std::string text = text_of(record);
    if (text.empty()) {
        return false;
    }
    const double value = config_leading_double(text.c_str());
    return !std::isfinite(value) || outside(value, record.min, record.max);
}

std::optional<std::int32_t> config_last_write_error()
{
    return last_write_error;
}

bool instrument_config::write_param(int id, s_connection* conn, bool quiet)
{
    return write_param_with(id, conn, quiet, true);
}

void instrument_config::read_param(int id, s_connection* conn, bool quiet, s_config_param* target)
{
    read_param_with(id, conn, quiet, target, true);
}

void instrument_config::read_param_with(int id, s_connection* conn, bool quiet, s_config_param* target,
                                        bool log_to_comms)
{
    if (!in_first_bank(id)) {
        return;
    }
    s_config_param& own = *record(id);
    s_config_param& destination = target ? *target : own;
    const int command = config_transfer_command(id, own);
    owned_link link(conn, quiet, command);
    std::string log_text;
    if (own.kind != CONFIG_KIND_CHOICE) {
        // Into a buffer of our own: a failed query leaves the record as it was.
        char text[READ_TEXT_SIZE] = {};
        config_query_text(command, text, READ_TEXT_SIZE, conn);
        std::memset(destination.value, 0, sizeof destination.value);
        std::memcpy(destination.value, text, sizeof text);
        log_text = text;
    } else {
        const int raw = config_query_int_checked(command, config_limit_as_int(destination.min),
                                                 config_limit_as_int(destination.max), conn);
        const int value = to_program_value(id, raw, translation_context(conn));
        config_set_int(destination.value, value);
        log_text = config_option_name(destination, value);
    }
    config_log_transfer_value(log_text, log_to_comms);
}

bool instrument_config::write_param_with(int id, s_connection* conn, bool quiet, bool log_to_comms)
{
    last_write_error.reset();
    if (!in_first_bank(id)) {
        return false;
    }
    s_config_param& own = *record(id);
    const int command = config_transfer_command(id, own);
    try {
        owned_link link(conn, quiet, command);
        if (config_check_writable(own) != config_write_refusal::none) {
            return false;
        }
        std::string log_text;
        if (own.kind != CONFIG_KIND_CHOICE) {
            log_text = text_of(own);
            config_send_text(command, log_text.c_str(), conn);
        } else {
            const int value = config_int_of(own.value);
            config_send_int(command, to_instrument_value(id, value, translation_context(conn)), conn);
            log_text = config_option_name(own, value);
        }
        own.changed = false;
        if (log_to_comms) {
            config_log_transfer_value(log_text, true);
        }
        return true;
    } catch (const config_transfer_error& error) {
        last_write_error = error.code();
        return false;
    }
}
